#ifndef DORVEX_STATUSNOTICES_H
#define DORVEX_STATUSNOTICES_H

#include <QLabel>
#include <QStringList>

// The status bar's line of snoozed and missed alarms. Screen readers do not
// watch the status bar: a newly missed alarm is announced to them.
class StatusNotices : public QLabel
{
    Q_OBJECT

public:
    explicit StatusNotices(QWidget *parent = nullptr);

    void showLines(const QStringList &snoozed, const QStringList &missed);
    // In the status bar above the line: "12:00:00: Saved settings." for two
    // seconds, or a failure left up until the next save tries again.
    void tellSave(bool succeeded);

private:
    QStringList announcedMissed;
};

#endif
