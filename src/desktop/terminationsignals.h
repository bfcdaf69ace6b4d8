#ifndef DORVEX_TERMINATIONSIGNALS_H
#define DORVEX_TERMINATIONSIGNALS_H

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered by the event
// loop, so that the program can save and end as it does on Exit instead of
// dying on the spot. The handler itself only writes the signal's number
// into a socket pair; everything else happens in the event loop.
// At most one instance exists at a time.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    // Gives the signals their default action back.
    ~TerminationSignals() override;

    // The signals that are caught.
    static QList<int> caughtSignals();

signals:
    void received(int signalNumber);

private:
    static void handle(int signalNumber);
    void readPending();

    int readEnd = -1;
    QSocketNotifier *notifier = nullptr;
};

#endif
