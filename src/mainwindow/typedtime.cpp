#include "typedtime.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr int maximumDigits = 6;
constexpr int sectionCount = 3;
constexpr int sectionLimits[sectionCount] = { 24, 60, 60 };

// Whether `digits`, the start of a section of `width` digits, can still
// become a value below `limit`. An empty start always can.
bool sectionCanBe(const QString &digits, int width, int limit)
{
    if (digits.isEmpty())
        return true;
    int smallest = digits.toInt();
    for (int missing = width - static_cast<int>(digits.size()); missing > 0; --missing)
        smallest *= 10;
    return smallest < limit;
}

// The widths of the sections when `count` digits are typed without any
// separator: pairs from the right, the hour taking what is left.
QList<int> widthsForDigits(int count)
{
    switch (count) {
    case 1:
        return { 1 };
    case 2:
        return { 2 };
    case 3:
        return { 1, 2 };
    case 4:
        return { 2, 2 };
    case 5:
        return { 1, 2, 2 };
    default:
        return { 2, 2, 2 };
    }
}

QTime timeOf(const QList<int> &values)
{
    return QTime(values.value(0), values.value(1), values.value(2));
}

} // namespace

TypedTime::TypedTime(State state, QTime time)
    : currentState(state)
    , typedTime(time)
{
}

TypedTime TypedTime::read(const QString &typed)
{
    static const QRegularExpression allowed(QStringLiteral("^[0-9:.]*$"));
    static const QRegularExpression separator(QStringLiteral("[:.]"));
    if (!allowed.match(typed).hasMatch())
        return { State::Impossible, {} };
    if (typed.isEmpty())
        return { State::Unfinished, {} };
    const QStringList groups = typed.split(separator);
    if (groups.size() == 1)
        return readDigits(typed);
    return readSeparated(groups);
}

TypedTime TypedTime::readDigits(const QString &digits)
{
    const int count = static_cast<int>(digits.size());
    if (count > maximumDigits)
        return { State::Impossible, {} };

    // The digits typed so far are a time in their own layout, and may still
    // grow into one in the layout of any longer count.
    QTime time;
    bool canGrow = false;
    for (int total = count; total <= maximumDigits; ++total) {
        const QList<int> widths = widthsForDigits(total);
        QList<int> values;
        bool possible = true;
        int start = 0;
        for (int section = 0; section < widths.size() && possible; ++section) {
            const QString part = digits.mid(start, widths[section]);
            possible = sectionCanBe(part, widths[section], sectionLimits[section]);
            values << part.toInt();
            start += widths[section];
        }
        if (!possible)
            continue;
        if (total == count)
            time = timeOf(values);
        else
            canGrow = true;
    }
    if (time.isValid())
        return { canGrow ? State::Acceptable : State::Complete, time };
    return { canGrow ? State::Unfinished : State::Impossible, {} };
}

TypedTime TypedTime::readSeparated(const QStringList &groups)
{
    if (groups.size() > sectionCount)
        return { State::Impossible, {} };
    const QString &hour = groups.first();
    if (hour.isEmpty() || hour.size() > 2 || hour.toInt() >= sectionLimits[0])
        return { State::Impossible, {} };

    // Every section before the last is whole; the last is being typed.
    QList<int> values { hour.toInt() };
    const int last = static_cast<int>(groups.size()) - 1;
    for (int section = 1; section < last; ++section) {
        const QString &group = groups[section];
        if (group.size() != 2 || group.toInt() >= sectionLimits[section])
            return { State::Impossible, {} };
        values << group.toInt();
    }
    const QString &typing = groups[last];
    if (typing.size() > 2 || !sectionCanBe(typing, 2, sectionLimits[last]))
        return { State::Impossible, {} };
    if (typing.size() < 2)
        return { State::Unfinished, {} };
    values << typing.toInt();
    return { last + 1 < sectionCount ? State::Acceptable : State::Complete, timeOf(values) };
}
