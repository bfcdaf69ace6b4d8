#include "terminationsignals.h"
#include "testenvironment.h"

#include <QApplication>
#include <QSignalSpy>

#include <csignal>

// A termination signal reaches the program as a Qt signal from the event
// loop, instead of ending the process on the spot.
class TestTerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalsArriveThroughTheEventLoopInOrder();
    void defaultActionsComeBackAfterwards();
};

void TestTerminationSignals::signalsArriveThroughTheEventLoopInOrder()
{
    TerminationSignals watcher;
    QSignalSpy received(&watcher, &TerminationSignals::received);
    const QList<int> sent { SIGTERM, SIGINT, SIGHUP, SIGTERM };
    for (const int signalNumber : sent)
        QCOMPARE(::raise(signalNumber), 0);
    // Nothing is done inside the handler itself.
    QCOMPARE(received.count(), 0);

    QTRY_COMPARE(received.count(), sent.size());
    for (int index = 0; index < sent.size(); ++index)
        QCOMPARE(received.at(index).at(0).toInt(), sent.at(index));
}

void TestTerminationSignals::defaultActionsComeBackAfterwards()
{
    {
        TerminationSignals watcher;
    }
    for (const int signalNumber : TerminationSignals::caughtSignals()) {
        struct sigaction current = {};
        QCOMPARE(sigaction(signalNumber, nullptr, &current), 0);
        QVERIFY(current.sa_handler == SIG_DFL);
    }
    // A second watcher after the first works as well.
    TerminationSignals again;
    QSignalSpy received(&again, &TerminationSignals::received);
    ::raise(SIGHUP);
    QTRY_COMPARE(received.count(), 1);
}

DORVEX_TEST_MAIN(TestTerminationSignals)

#include "tst_terminationsignals.moc"
