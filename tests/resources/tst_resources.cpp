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
                              "go-bottom", "preferences-system", "help-browser",
                              "format-text-bold", "view-fullscreen", "redled", "greenled" }) {
        const QString path = QStringLiteral(":/icons/images/%1.png").arg(QLatin1String(icon));
        QTest::newRow(icon) << path << QByteArray("png") << QSize(16, 16);
    }
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
        QVERIFY(image.pixelColor(0, 0).alpha() < 255 || image.pixelColor(15, 15).alpha() < 255);
        bool anyInk = false;
        for (int y = 4; y < 12; ++y)
            for (int x = 4; x < 12; ++x)
                anyInk = anyInk || image.pixelColor(x, y).alpha() > 128;
        QVERIFY(anyInk);
    } else {
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
    QCOMPARE(QDir(":/icons/images").entryList().size(), 11);
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
