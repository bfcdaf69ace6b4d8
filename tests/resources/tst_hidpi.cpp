#include "mainwindow.h"
#include "programicon.h"
#include "testenvironment.h"

#include <QApplication>
#include <QLabel>

// On a screen scaled by two, every icon shows its 32-pixel double rather
// than a blurred 16-pixel picture, and the program's icon is drawn afresh
// from its scalable picture at any size.
class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void iconsTakeTheirDouble_data();
    void iconsTakeTheirDouble();
    void programIconAtEverySize_data();
    void programIconAtEverySize();
};

static QImage premultiplied(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void TestHiDpi::iconsTakeTheirDouble_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : { "dorvex_mini", "dialog-information", "system-log-out", "go-top",
             "go-bottom", "preferences-system", "help-browser", "format-text-bold",
             "view-fullscreen", "redled", "greenled" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestHiDpi::iconsTakeTheirDouble()
{
    QFETCH(QString, name);
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    // Built as the forms build theirs, from the 16-pixel file's path.
    const QPixmap shown = QIcon(":/icons/images/" + name + ".png").pixmap(QSize(16, 16));
    QCOMPARE(premultiplied(shown.toImage()),
        premultiplied(QImage(":/icons/images/" + name + "@2x.png")));
    if (name.endsWith("led")) {
        MainWindow window(false);
        QCOMPARE(window.findChild<QLabel *>("alarm1LedLabel")->pixmap().size(), QSize(32, 32));
    }
}

void TestHiDpi::programIconAtEverySize_data()
{
    QTest::addColumn<int>("size");
    for (int size : { 16, 24, 64, 256 })
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void TestHiDpi::programIconAtEverySize()
{
    QFETCH(int, size);
    const QImage shown = premultiplied(ProgramIcon::icon().pixmap(QSize(size, size)).toImage());
    // The menu icons are the same drawing from another renderer; a small
    // picture scaled up would be far from them.
    const QImage menuIcon = premultiplied(
        QImage(QStringLiteral(PACKAGING_ICONS "/%1x%1/apps/dorvex.png").arg(2 * size)));
    QCOMPARE(shown.size(), menuIcon.size());
    qint64 difference = 0;
    for (int i = 0; i < shown.sizeInBytes(); ++i)
        difference += std::abs(shown.constBits()[i] - menuIcon.constBits()[i]);
    QVERIFY(difference < 4 * shown.sizeInBytes());
}

DORVEX_TEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
