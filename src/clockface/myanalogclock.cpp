#include "myanalogclock.h"

#include <QPainter>
#include <QPolygon>

namespace {

// Hands in logical units: 100 from the centre to the edge, pointing to 12.
struct ClockShapes
{
    const QPolygon hourHand { { QPoint(7, 8), QPoint(-7, 8), QPoint(0, -40) } };
    const QPolygon minuteHand { { QPoint(7, 8), QPoint(-7, 8), QPoint(0, -70) } };
    const QPolygon secondHand { { QPoint(1, 8), QPoint(-1, 8), QPoint(0, -80) } };
    const QColor hourColor { 127, 0, 127 };
    const QColor minuteColor { 0, 127, 127, 191 };
    const QColor secondColor { 0, 0, 0 };
};

// Built on the first paint and shared by every clock.
const ClockShapes &shapes()
{
    static const ClockShapes instance;
    return instance;
}

void drawHand(QPainter &painter, const QPolygon &hand, const QColor &color, double angle)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.save();
    painter.rotate(angle);
    painter.drawConvexPolygon(hand);
    painter.restore();
}

// A cosmetic pen stays one device pixel wide whatever the scale.
QPen markPen(const QColor &color)
{
    QPen pen(color, 0);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

MyAnalogClock::MyAnalogClock(QWidget *parent)
    : QWidget(parent)
{
    resize(200, 200);
    nameForScreenReaders();
}

void MyAnalogClock::setCaption(const QString &caption)
{
    shownCaption = caption;
    nameForScreenReaders();
}

void MyAnalogClock::updateTime(QTime time)
{
    shownTime = time;
    nameForScreenReaders();
    update();
}

// Said as the hands show it: a null time as midnight, seconds only when the
// hand is off twelve.
void MyAnalogClock::nameForScreenReaders()
{
    const QTime time = shownTime.isValid() ? shownTime : QTime(0, 0);
    const QString said
        = time.toString(time.second() == 0 ? QStringLiteral("HH:mm") : QStringLiteral("HH:mm:ss"));
    //: A clock face read out: its caption (such as "Alarm 1 clock"), then its time.
    setAccessibleName(shownCaption.isEmpty() ? said : tr("%1, %2").arg(shownCaption, said));
}

void MyAnalogClock::paintEvent(QPaintEvent *)
{
    const ClockShapes &clock = shapes();
    // A null time is drawn as 00:00:00, like a fresh time edit shows it.
    const int hour = shownTime.isValid() ? shownTime.hour() : 0;
    const int minute = shownTime.isValid() ? shownTime.minute() : 0;
    const int second = shownTime.isValid() ? shownTime.second() : 0;
    const int side = qMin(width(), height());

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(double(width() / 2), double(height() / 2));
    painter.scale(side / 200.0, side / 200.0);

    drawHand(painter, clock.hourHand, clock.hourColor, 30.0 * (hour + minute / 60.0));

    painter.setPen(markPen(clock.hourColor));
    for (int i = 0; i < 12; ++i) {
        painter.drawLine(88, 0, 96, 0);
        painter.rotate(30.0);
    }

    drawHand(painter, clock.minuteHand, clock.minuteColor, 6.0 * (minute + second / 60.0));

    painter.setPen(markPen(clock.minuteColor));
    for (int j = 0; j < 60; ++j) {
        if (j % 5 != 0)
            painter.drawLine(92, 0, 96, 0);
        painter.rotate(6.0);
    }

    drawHand(painter, clock.secondHand, clock.secondColor, 6.0 * second);
}
