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

struct Probe
{
    double degrees, distance;
    Ink ink;
};

} // namespace

Q_DECLARE_METATYPE(QList<Probe>)

class TestMyAnalogClock : public QObject
{
    Q_OBJECT

private slots:
    void handsAndMarks_data();
    void handsAndMarks();
    void noonAndMidnightAndNullLookTheSame();
    void nonSquareClockUsesTheShorterSide();
    void sameTimeStillRepaints();
};

void TestMyAnalogClock::handsAndMarks_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QList<Probe>>("probes");
    // Hour marks from 88 to 96, minute marks from 92 to 96, none at 12 + 3 minutes' gap.
    QTest::newRow("three o'clock")
        << QTime(3, 0, 0)
        << QList<Probe> { { 90, 30, Ink::Hour }, { 1.5, 50, Ink::Minute }, { 0, 75, Ink::Second },
               { 270, 30, Ink::Empty }, { 180, 30, Ink::Empty }, { 90, 90, Ink::Hour },
               { 6, 94, Ink::Minute }, { 6, 90, Ink::Empty }, { 45, 94, Ink::Empty } };
    // The hour hand half-way between 6 and 7, at 195 degrees.
    QTest::newRow("half past six")
        << QTime(6, 30, 0)
        << QList<Probe> { { 195, 25, Ink::Hour }, { 165, 25, Ink::Empty }, { 180, 55, Ink::Minute },
               { 0, 30, Ink::Second } };
    // The minute hand turned clockwise by 3 degrees: its left edge has
    // moved off the 12 o'clock line, its right side covers it.
    QTest::newRow("thirty seconds") << QTime(0, 0, 30)
                                    << QList<Probe> { { 180, 50, Ink::Second },
                                           { 3, 55, Ink::Minute }, { -2.5, 55, Ink::Empty } };
}

void TestMyAnalogClock::handsAndMarks()
{
    QFETCH(QTime, time);
    QFETCH(QList<Probe>, probes);
    const QImage face = render(time, QSize(800, 800));
    for (const Probe &probe : probes)
        QCOMPARE(inkAt(face, onFace(probe.degrees, probe.distance)), probe.ink);
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
