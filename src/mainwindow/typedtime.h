#ifndef DORVEX_TYPEDTIME_H
#define DORVEX_TYPEDTIME_H

#include <QString>
#include <QTime>

// A time of day as people write it: "7:30", "07.30", "0730", "7:30:15".
// The hour comes first, with one or two digits; minutes and seconds take
// two digits each, after a colon or a full stop or, when no separator is
// typed at all, in pairs from the right ("730" is 07:30, "73015" 07:30:15).
// Seconds left out are zero. Also reads what has been typed so far, so
// that a field can refuse a key that can lead to no time at all.
class TypedTime
{
public:
    enum class State {
        // Nothing typed after this can make a time of it ("25:", "7:6").
        Impossible,
        // Not a time yet, but more typing can make one ("7:", "7:3").
        Unfinished,
        // A time, which more typing can still change ("7", "7:30", "0730").
        Acceptable,
        // A time that nothing more can be added to ("7:30:15", "073015").
        Complete,
    };

    static TypedTime read(const QString &typed);

    State state() const { return currentState; }
    // The time typed; null unless the state is Acceptable or Complete.
    QTime time() const { return typedTime; }
    bool isTime() const
    {
        return currentState == State::Acceptable || currentState == State::Complete;
    }

private:
    TypedTime(State state, QTime time);

    static TypedTime readDigits(const QString &digits);
    static TypedTime readSeparated(const QStringList &groups);

    State currentState;
    QTime typedTime;
};

#endif
