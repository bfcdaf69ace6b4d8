#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTest>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void registeredBeforeTheApplicationExists();
    void picturesHaveTheirFormatAndSize_data();
    void picturesHaveTheirFormatAndSize();
    void pathsAreExactAndCaseSensitive();
};

static bool registeredEarly = false;

void TestResources::registeredBeforeTheApplicationExists()
{
    QVERIFY(registeredEarly);
}

void TestResources::picturesHaveTheirFormatAndSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    for (const char *icon : { "dorvex_mini", "dialog-information", "system-log-out", "go-top",
             "go-bottom", "preferences-system", "help-browser", "format-text-bold",
             "view-fullscreen", "redled", "greenled" }) {
        const QString path = QStringLiteral(":/icons/images/%1.png").arg(QLatin1String(icon));
        QTest::newRow(icon) << path << QByteArray("png") << QSize(16, 16);
        const QString twice = QStringLiteral(":/icons/images/%1@2x.png").arg(QLatin1String(icon));
        QTest::newRow(qPrintable(twice.mid(15))) << twice << QByteArray("png") << QSize(32, 32);
    }
    QTest::newRow("program icon") << ":/icons/dorvex.svg" << QByteArray("svg") << QSize(256, 256);
    QTest::newRow("clocmain1") << ":/images/images/clocmain1.jpg" << QByteArray("jpeg")
                               << QSize(300, 300);
}

void TestResources::picturesHaveTheirFormatAndSize()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);

    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
    if (format == "png") {
        QVERIFY(image.hasAlphaChannel());
        // Icons stand on a transparent background: the corners are see-through
        // somewhere, and the middle is drawn.
        const int last = size.width() - 1;
        QVERIFY(image.pixelColor(0, 0).alpha() < 255 || image.pixelColor(last, last).alpha() < 255);
        bool anyInk = false;
        for (int y = size.height() / 4; y < size.height() * 3 / 4; ++y)
            for (int x = size.width() / 4; x < size.width() * 3 / 4; ++x)
                anyInk = anyInk || image.pixelColor(x, y).alpha() > 128;
        QVERIFY(anyInk);
    } else if (format == "jpeg") {
        QVERIFY(!image.hasAlphaChannel());
        QVERIFY(!image.isGrayscale());
    }
}

void TestResources::pathsAreExactAndCaseSensitive()
{
    QVERIFY(QFile::exists(":/icons/images/redled.png"));
    QVERIFY(!QFile::exists(":/icons/redled.png"));
    QVERIFY(!QFile::exists(":/icons/images/RedLed.png"));
    QVERIFY(!QFile::exists(":/images/clocmain1.jpg"));
    QVERIFY(!QFile::exists(":/icons/images/clocmain1.jpg"));
    // Each icon with its double for screens scaled by two.
    const QStringList icons = QDir(":/icons/images").entryList();
    QCOMPARE(icons.size(), 22);
    for (const QString &icon : icons)
        QVERIFY(icons.contains(
            icon.endsWith("@2x.png") ? icon.chopped(7) + ".png" : icon.chopped(4) + "@2x.png"));
    QCOMPARE(QDir(":/images/images").entryList(), QStringList { "clocmain1.jpg" });
}

int main(int argc, char **argv)
{
    registeredEarly = QFile::exists(":/icons/images/dorvex_mini.png")
        && QFile::exists(":/images/images/clocmain1.jpg");
    QCoreApplication application(argc, argv);
    TestResources test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_resources.moc"
