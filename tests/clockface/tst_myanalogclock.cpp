#include "myanalogclock.h"
#include "testenvironment.h"

#include <QApplication>
#include <QImage>
#include <QtMath>

// The face is checked by its pixels: what a user sees, not the arithmetic.
namespace {

enum class Ink { Empty, Hour, Minute, Second, Other };

Ink inkAt(const QImage &image, QPointF pixel)
{
    const QColor c = image.pixelColor(pixel.toPoint());
    if (c.alpha() < 40)
        return Ink::Empty;
    if (c.red() > 60 && c.blue() > 60 && c.green() < 40)
        return Ink::Hour;
    if (c.green() > 60 && c.blue() > 60 && c.red() < 40)
        return Ink::Minute;
    if (c.red() < 50 && c.green() < 50 && c.blue() < 50)
        return Ink::Second;
    return Ink::Other;
}

QImage render(QTime time, QSize size)
{
    MyAnalogClock clock;
    clock.resize(size);
    clock.updateTime(time);
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    clock.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// A point of the 800 x 800 test face, given as a distance from the centre
// in the face's units (100 to the edge) along a clockwise angle from 12.
QPointF onFace(double degrees, double distance)
{
    const double radians = qDegreesToRadians(degrees);
    return QPointF(400 + 4 * distance * qSin(radians), 400 - 4 * distance * qCos(radians));
}

} // namespace

class TestMyAnalogClock : public QObject
{
    Q_OBJECT

private slots:
    void threeOClock();
    void halfPastSix();
    void thirtySeconds();
    void noonAndMidnightAndNullLookTheSame();
    void nonSquareClockUsesTheShorterSide();
    void sameTimeStillRepaints();
};

void TestMyAnalogClock::threeOClock()
{
    const QImage face = render(QTime(3, 0, 0), QSize(800, 800));
    QCOMPARE(inkAt(face, onFace(90, 30)), Ink::Hour);
    QCOMPARE(inkAt(face, onFace(1.5, 50)), Ink::Minute);
    QCOMPARE(inkAt(face, onFace(0, 75)), Ink::Second);
    QCOMPARE(inkAt(face, onFace(270, 30)), Ink::Empty);
    QCOMPARE(inkAt(face, onFace(180, 30)), Ink::Empty);
    // Hour marks from 88 to 96, minute marks from 92 to 96, none at 12 + 3 minutes' gap.
    QCOMPARE(inkAt(face, onFace(90, 90)), Ink::Hour);
    QCOMPARE(inkAt(face, onFace(6, 94)), Ink::Minute);
    QCOMPARE(inkAt(face, onFace(6, 90)), Ink::Empty);
    QCOMPARE(inkAt(face, onFace(45, 94)), Ink::Empty);
}

void TestMyAnalogClock::halfPastSix()
{
    const QImage face = render(QTime(6, 30, 0), QSize(800, 800));
    // The hour hand half-way between 6 and 7, at 195 degrees.
    QCOMPARE(inkAt(face, onFace(195, 25)), Ink::Hour);
    QCOMPARE(inkAt(face, onFace(165, 25)), Ink::Empty);
    QCOMPARE(inkAt(face, onFace(180, 55)), Ink::Minute);
    QCOMPARE(inkAt(face, onFace(0, 30)), Ink::Second);
}

void TestMyAnalogClock::thirtySeconds()
{
    const QImage face = render(QTime(0, 0, 30), QSize(800, 800));
    QCOMPARE(inkAt(face, onFace(180, 50)), Ink::Second);
    // The minute hand turned clockwise by 3 degrees: its left edge has
    // moved off the 12 o'clock line, its right side covers it.
    QCOMPARE(inkAt(face, onFace(3, 55)), Ink::Minute);
    QCOMPARE(inkAt(face, onFace(-2.5, 55)), Ink::Empty);
}

void TestMyAnalogClock::noonAndMidnightAndNullLookTheSame()
{
    const QImage midnight = render(QTime(0, 0, 0), QSize(200, 200));
    QCOMPARE(render(QTime(12, 0, 0), QSize(200, 200)), midnight);
    QCOMPARE(render(QTime(), QSize(200, 200)), midnight);
    QVERIFY(render(QTime(0, 0, 1), QSize(200, 200)) != midnight);
}

void TestMyAnalogClock::nonSquareClockUsesTheShorterSide()
{
    // 80 x 40: centred at (40, 20), scaled by 0.2.
    const QImage face = render(QTime(3, 0, 0), QSize(80, 40));
    QCOMPARE(inkAt(face, QPointF(46, 20)), Ink::Hour);
    QCOMPARE(inkAt(face, QPointF(58, 20)), Ink::Hour); // the 3 o'clock mark
    QCOMPARE(inkAt(face, QPointF(64, 20)), Ink::Empty);
    QCOMPARE(inkAt(face, QPointF(15, 20)), Ink::Empty);
    QCOMPARE(inkAt(face, QPointF(40, 1)), Ink::Hour); // the 12 o'clock mark
}

void TestMyAnalogClock::sameTimeStillRepaints()
{
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } counter;

    MyAnalogClock clock;
    clock.resize(51, 51);
    clock.installEventFilter(&counter);
    clock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&clock));
    clock.updateTime(QTime(7, 15, 0));
    QTRY_VERIFY(counter.paints > 0);
    const int before = counter.paints;
    clock.updateTime(QTime(7, 15, 0));
    QTRY_VERIFY(counter.paints > before);
}

DORVEX_TEST_MAIN(TestMyAnalogClock)
#include "tst_myanalogclock.moc"
