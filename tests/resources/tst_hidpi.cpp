#include "mainwindow.h"
#include "programicon.h"
#include "testenvironment.h"

#include <QApplication>
#include <QLabel>

#include <cmath>

// On a screen scaled by two: every icon shows its 32-pixel double instead of
// a blurred 16-pixel picture, and the program's own icon is drawn afresh
// from its scalable picture at whatever size is asked.
namespace {

const char *const iconNames[] = { "dorvex_mini", "dialog-information", "system-log-out", "go-top",
    "go-bottom", "preferences-system", "help-browser", "format-text-bold", "view-fullscreen",
    "redled", "greenled" };

// How far apart two pictures of one size are, on average over every channel
// of every pixel, from 0 (the same) to 255.
double meanDifference(const QImage &first, const QImage &second)
{
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * a.width() * a.height());
}

} // namespace

class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void iconsTakeTheirDouble_data();
    void iconsTakeTheirDouble();
    void lampsTakeTheirDouble();
    void programIconIsDrawnAtEverySize_data();
    void programIconIsDrawnAtEverySize();
};

void TestHiDpi::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void TestHiDpi::iconsTakeTheirDouble_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : iconNames)
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestHiDpi::iconsTakeTheirDouble()
{
    QFETCH(QString, name);
    // Built as the forms build their icons: from the 16-pixel file's path.
    const QIcon icon(QStringLiteral(":/icons/images/%1.png").arg(name));
    const QPixmap shown = icon.pixmap(QSize(16, 16));
    QCOMPARE(shown.deviceIndependentSize(), QSizeF(16, 16));
    QCOMPARE(shown.size(), QSize(32, 32));
    // The same up to the rounding of see-through pixels.
    const double difference = meanDifference(
        shown.toImage(), QImage(QStringLiteral(":/icons/images/%1@2x.png").arg(name)));
    QVERIFY2(difference < 1, qPrintable(QString::number(difference)));
}

void TestHiDpi::lampsTakeTheirDouble()
{
    TestEnvironment::instance().reset();
    MainWindow window(false);
    const QPixmap lamp = window.findChild<QLabel *>("alarm1LedLabel")->pixmap();
    QCOMPARE(lamp.size(), QSize(32, 32));
    QCOMPARE(lamp.deviceIndependentSize(), QSizeF(16, 16));
}

void TestHiDpi::programIconIsDrawnAtEverySize_data()
{
    QTest::addColumn<int>("size");
    for (int size : { 16, 24, 64, 256 })
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void TestHiDpi::programIconIsDrawnAtEverySize()
{
    QFETCH(int, size);
    const QImage shown = ProgramIcon::icon().pixmap(QSize(size, size)).toImage();
    QCOMPARE(shown.size(), QSize(2 * size, 2 * size));
    // The menu icons are the same drawing rendered by another renderer; a
    // small picture scaled up would be far from them.
    const QImage reference(QStringLiteral(PACKAGING_ICONS "/%1x%1/apps/dorvex.png").arg(2 * size));
    QVERIFY(!reference.isNull());
    const double difference = meanDifference(shown, reference);
    QVERIFY2(difference < 4, qPrintable(QString::number(difference)));
}

DORVEX_TEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
