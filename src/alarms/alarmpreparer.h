#ifndef DORVEX_ALARMPREPARER_H
#define DORVEX_ALARMPREPARER_H

#include <QDateTime>
#include <QObject>
#include <QVector>

class AlarmEngine;
class Clock;
class QTimer;

// Says when what an alarm shows should be made ready: a lead time before the
// instant the engine will ring it, so that at its second it only has to be
// shown. One timer wakes for the soonest alarm not yet prepared: at most one
// wake-up per ring.
//
// An alarm whose next ring moves (a new time, disarmed, the clock set) after
// it was prepared is discarded, and prepared again when its new ring is
// within the lead. A prepared occurrence that rings is neither: it is handed
// to whoever answers alarmDue(). An alarm whose ring is already due is not
// prepared; it is shown as it comes.
class AlarmPreparer : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 defaultLeadMs = 4000;

    // Idle until the first check(), so that the signals can be connected.
    AlarmPreparer(AlarmEngine &engine, Clock &clock, qint64 leadMs = defaultLeadMs,
        QObject *parent = nullptr);

    // The occurrence (UTC) alarm `index` is prepared for; invalid when none.
    QDateTime preparedFor(int index) const;
    // What alarm `index` shows changed: discards it and prepares it again.
    void renew(int index);
    void renewAll();

    const QTimer *timer() const { return wakeUp; }

public slots:
    // Looks at the clock and the engine: prepares, discards, re-aims.
    void check();

signals:
    // Make alarm `index` ready to show for its ring at `due` (UTC).
    void prepare(int index, const QDateTime &due);
    // Drop what was made ready for alarm `index`.
    void discard(int index);

private:
    void aim(const QDateTime &now);

    AlarmEngine &engine;
    Clock &clock;
    qint64 leadMs;
    QTimer *wakeUp;
    QVector<QDateTime> prepared;
};

#endif
