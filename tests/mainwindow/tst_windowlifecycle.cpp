#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <memory>

// How the panel ends when the desktop session ends it (the signals are
// shown on the real program), and how it treats a settings file damaged on
// disk.
class TestWindowLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestEnvironment::instance().reset(); }
    void cleanup() { window.reset(); }

    void damagedStoreIsSavedCleanOnceAndThenLeftAlone();
    void endingWithoutAQuestion_data();
    void endingWithoutAQuestion();
    void closingAfterACancelledLogOutAsks();

private:
    void saveNow() { QMetaObject::invokeMethod(window.get(), "maybeSaveSettings"); }
    QCheckBox *enableBox(int number) const
    {
        return window->findChild<QCheckBox *>(QStringLiteral("alarm%1EnableCheckBox").arg(number));
    }

    std::unique_ptr<MainWindow> window;
};

void TestWindowLifecycle::damagedStoreIsSavedCleanOnceAndThenLeftAlone()
{
    const QString fileName = TestEnvironment::instance().settingsFile();
    QDir().mkpath(QFileInfo(fileName).path());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray noise(10 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(17);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    file.write("[General]\nlanguage=de\n[alarm1]\nenabled=true\n" + noise);
    file.close();

    window = std::make_unique<MainWindow>(false);
    QVERIFY(enableBox(1)->isChecked());
    // Nothing was changed by hand, yet the damaged file is written afresh.
    saveNow();
    QVERIFY(window->statusBar()->currentMessage().endsWith(QLatin1String(": Saved settings.")));
    QSettings written(fileName, QSettings::IniFormat);
    QCOMPARE(written.status(), QSettings::NoError);
    // What could be read is kept, also what the panel does not write itself.
    QCOMPARE(written.value(SettingsKeys::language).toString(), QStringLiteral("de"));
    // The panel's thirteen values, the end of its watch, and the language.
    QCOMPARE(written.allKeys().size(), 13 + 1 + 1);

    const QDateTime writtenAt = QFileInfo(fileName).lastModified();
    window->statusBar()->clearMessage();
    saveNow();
    QCOMPARE(window->statusBar()->currentMessage(), QString());
    QCOMPARE(QFileInfo(fileName).lastModified(), writtenAt);
}

void TestWindowLifecycle::endingWithoutAQuestion_data()
{
    QTest::addColumn<QString>("endedBy");
    QTest::addColumn<bool>("questionOpen");
    QTest::newRow("log-out, the session closes the window") << "close" << false;
    QTest::newRow("log-out, the session quits") << "quit" << false;
    QTest::newRow("log-out while asking whether to exit") << "quit" << true;
    QTest::newRow("log-out, the session quits once all have saved") << "quit later" << false;
}

void TestWindowLifecycle::endingWithoutAQuestion()
{
    QFETCH(QString, endedBy);
    QFETCH(bool, questionOpen);
    window = std::make_unique<MainWindow>(false);
    window->showAtStart();
    enableBox(3)->setChecked(true);

    std::unique_ptr<ModalAnswerer> unexpected;
    auto end = [&] {
        unexpected = std::make_unique<ModalAnswerer>(ModalAnswerer::pressEscape(), 1000);
        window->commitSessionData();
        QVERIFY(QSettings().value(SettingsKeys::alarmEnabledKey(3)).toBool());
        // What the session manager's order to end comes down to.
        QEvent quit(QEvent::Quit);
        if (endedBy == QLatin1String("close"))
            window->close();
        else if (endedBy == QLatin1String("quit"))
            QCoreApplication::sendEvent(qApp, &quit);
        else
            QTimer::singleShot(0, qApp, [] {
                QEvent quit(QEvent::Quit);
                QCoreApplication::sendEvent(qApp, &quit);
            });
    };
    ModalAnswerer exitQuestion([&](QWidget *) { end(); });
    QTimer::singleShot(0, window.get(), [&] {
        if (questionOpen)
            window->findChild<QPushButton *>("exitPushButton")->click();
        else
            end();
    });

    // A program that does not end fails here rather than hang.
    QTimer::singleShot(10000, window.get(), [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!unexpected->answered());
    QCOMPARE(QSettings().value(SettingsKeys::alarmEnabledKey(3)).toBool(), true);
}

// A log-out that is cancelled tells the program nothing: the user's close
// afterwards is treated as any other.
void TestWindowLifecycle::closingAfterACancelledLogOutAsks()
{
    window = std::make_unique<MainWindow>(false);
    window->showAtStart();
    window->commitSessionData();
    QCoreApplication::processEvents();

    ModalAnswerer no(ModalAnswerer::pressButton(QMessageBox::No));
    QVERIFY(!window->close());
    QVERIFY(no.answered());
    QVERIFY(window->isVisible());
}

DORVEX_TEST_MAIN(TestWindowLifecycle)

#include "tst_windowlifecycle.moc"
