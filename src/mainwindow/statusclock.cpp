#include "statusclock.h"

#include "clock.h"

namespace {

constexpr int tickIntervalMs = 1000;

// The current time with every digit swapped for the font's widest one: the
// widest text the clock can show.
QString widestTimeText(const QFontMetrics &metrics)
{
    QChar widest = QLatin1Char('0');
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (metrics.horizontalAdvance(QLatin1Char(digit)) > metrics.horizontalAdvance(widest))
            widest = QLatin1Char(digit);
    }
    QString text = StatusClock::currentText();
    for (QChar &character : text) {
        if (character.isDigit())
            character = widest;
    }
    return text;
}

} // namespace

StatusClock::StatusClock(QWidget *parent)
    : QLabel(parent)
{
    setText(widestTimeText(fontMetrics()));
    setFixedSize(sizeHint());
    showTime();
    connect(&ticker, &QTimer::timeout, this, &StatusClock::showTime);
}

QString StatusClock::currentText()
{
    return Clock::instance().localNow().time().toString(Qt::TextDate);
}

void StatusClock::showTime()
{
    setText(currentText());
}

void StatusClock::showEvent(QShowEvent *event)
{
    showTime();
    ticker.start(tickIntervalMs);
    QLabel::showEvent(event);
}

void StatusClock::hideEvent(QHideEvent *event)
{
    ticker.stop();
    QLabel::hideEvent(event);
}
