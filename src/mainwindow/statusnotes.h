#ifndef DORVEX_STATUSNOTES_H
#define DORVEX_STATUSNOTES_H

#include <QObject>

class AlarmAnnouncer;
class AlarmStore;
class QLabel;
class QStatusBar;

// What the status bar tells besides the time: that the alarms were saved or
// could not be, and the alarms missed for good, which screen readers are
// told of as they come.
class StatusNotes : public QObject
{
    Q_OBJECT

public:
    StatusNotes(QStatusBar *statusBar, const AlarmStore &store, const AlarmAnnouncer &announcer);

private:
    void showMissedAlarms();

    QStatusBar *statusBar;
    const AlarmAnnouncer &announcer;
    QLabel *missedLabel;
};

#endif
