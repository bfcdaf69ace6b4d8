#include "photoloader.h"
#include "randomsource.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>

// Which photos count, the size each is shown at, and what becomes of photos
// that do not decode or change after they were found.
class TestPhotoLoader : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void shownSize_data();
    void shownSize();
    void photosInAnyLetterCase();
    void decodedAtShownSize_data();
    void decodedAtShownSize();
    void changedAfterBeingFound_data();
    void changedAfterBeingFound();
};

static QString photosFolder()
{
    return QDir::currentPath() + QLatin1String("/photos");
}

static QString photoPath(const QString &name)
{
    return photosFolder() + QLatin1Char('/') + name;
}

static QByteArray encoded(const QSize &size, const QColor &colour, const char *format,
    bool progressive = false,
    QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.setTransformation(turn);
    writer.write(image);
    return bytes;
}

// A small JPEG whose frame header claims another size: what a forged or
// damaged file looks like to the decoder.
static QByteArray jpegClaiming(const QSize &claimed, bool progressive)
{
    QByteArray jpeg = encoded(QSize(16, 16), Qt::gray, "JPEG", progressive);
    const int frame
        = jpeg.indexOf(progressive ? QByteArray("\xff\xc2", 2) : QByteArray("\xff\xc0", 2));
    Q_ASSERT(frame > 0);
    jpeg[frame + 5] = char(claimed.height() >> 8);
    jpeg[frame + 6] = char(claimed.height() & 0xff);
    jpeg[frame + 7] = char(claimed.width() >> 8);
    jpeg[frame + 8] = char(claimed.width() & 0xff);
    return jpeg;
}

static void writeFile(const QString &name, const QByteArray &content)
{
    QDir().mkpath(photosFolder());
    QFile file(photoPath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

static QColor centreColour(const QImage &image)
{
    return image.pixelColor(image.rect().center());
}

static bool sameColour(const QColor &a, const QColor &b)
{
    const int slack = 8;
    return qAbs(a.red() - b.red()) <= slack && qAbs(a.green() - b.green()) <= slack
        && qAbs(a.blue() - b.blue()) <= slack;
}

void TestPhotoLoader::init()
{
    TestEnvironment::instance().reset();
    QDir::setSearchPaths(QLatin1String("photos"), { photosFolder() });
}

void TestPhotoLoader::shownSize_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<bool>("scale");
    QTest::addColumn<QSize>("shown");

    const QSize area(1000, 600);
    QTest::newRow("tiny, own size") << QSize(40, 30) << area << false << QSize(40, 30);
    QTest::newRow("tiny, scaled up") << QSize(40, 30) << area << true << QSize(800, 600);
    QTest::newRow("exactly the area") << area << area << false << area;
    QTest::newRow("landscape camera photo")
        << QSize(4000, 3000) << area << false << QSize(800, 600);
    QTest::newRow("landscape, scaled") << QSize(4000, 3000) << area << true << QSize(800, 600);
    QTest::newRow("portrait, too tall") << QSize(1200, 1800) << area << false << QSize(400, 600);
    QTest::newRow("portrait, scaled")
        << QSize(400, 300) << QSize(300, 900) << true << QSize(300, 225);
    QTest::newRow("panorama, too wide") << QSize(5000, 500) << area << false << QSize(1000, 100);
    QTest::newRow("a sliver keeps a pixel") << QSize(20000, 4) << area << false << QSize(1000, 1);
    QTest::newRow("no room") << QSize(40, 30) << QSize(0, 600) << false << QSize();
}

void TestPhotoLoader::shownSize()
{
    QFETCH(QSize, photo);
    QFETCH(QSize, area);
    QFETCH(bool, scale);
    QFETCH(QSize, shown);
    QCOMPARE(PhotoLoader::shownSize(photo, area, scale), shown);
}

void TestPhotoLoader::photosInAnyLetterCase()
{
    const QByteArray jpeg = encoded(QSize(8, 8), Qt::green, "JPEG");
    for (const char *name : { "a.jpeg", "B.JPEG", "c.Jpg", "d.jpg" })
        writeFile(QLatin1String(name), jpeg);
    writeFile(QStringLiteral("e.PnG"), encoded(QSize(8, 8), Qt::green, "PNG"));
    writeFile(QStringLiteral("f.gif"), jpeg);
    writeFile(QStringLiteral("g.jpeg.txt"), jpeg);

    const QStringList photos = PhotoLoader::findPhotos();
    QCOMPARE(photos, QStringList({ "a.jpeg", "B.JPEG", "c.Jpg", "d.jpg", "e.PnG" }));
    for (const QString &photo : photos) {
        const PhotoLoader::Picture picture
            = PhotoLoader(QString(), false).load({ photo }, QSize(100, 100), 1);
        QCOMPARE(picture.photoName, QLatin1String("photos:") + photo);
        QVERIFY(sameColour(centreColour(picture.image), Qt::green));
    }
}

void TestPhotoLoader::decodedAtShownSize_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("scale");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("decoded");

    const QByteArray bigJpeg = encoded(QSize(6000, 4000), Qt::blue, "JPEG");
    QTest::newRow("24 MP JPEG") << bigJpeg << false << 1.0 << QSize(1200, 800);
    QTest::newRow("24 MP JPEG at scale 2") << bigJpeg << true << 2.0 << QSize(1200, 800);
    QTest::newRow("progressive JPEG")
        << encoded(QSize(3000, 2000), Qt::blue, "JPEG", true) << false << 1.0 << QSize(1200, 800);
    // Stored sideways with a note to turn it, as cameras do.
    QTest::newRow("portrait stored sideways") << encoded(
        QSize(3000, 2000), Qt::blue, "JPEG", false, QImageIOHandler::TransformationRotate90)
                                              << false << 1.0 << QSize(533, 800);
    QTest::newRow("tiny PNG, own size")
        << encoded(QSize(30, 20), Qt::blue, "PNG") << false << 1.0 << QSize(30, 20);
    QTest::newRow("tiny PNG, scaled")
        << encoded(QSize(30, 20), Qt::blue, "PNG") << true << 1.0 << QSize(1200, 800);
    // Scaled while decoding, a baseline JPEG of any size fits in memory.
    QTest::newRow("JPEG claiming 9000 x 8000")
        << jpegClaiming(QSize(9000, 8000), false) << false << 1.0 << QSize(900, 800);
    // No camera makes photos of 2.5 gigapixels: a forged header.
    QTest::newRow("JPEG claiming 50000 x 50000")
        << jpegClaiming(QSize(50000, 50000), false) << false << 1.0 << QSize();
    // A progressive JPEG or a PNG would be held whole first: past the
    // decoding limit, the built-in picture stands in.
    QTest::newRow("progressive JPEG claiming 9000 x 8000")
        << jpegClaiming(QSize(9000, 8000), true) << false << 1.0 << QSize();
}

void TestPhotoLoader::decodedAtShownSize()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, scale);
    QFETCH(qreal, ratio);
    QFETCH(QSize, decoded);
    writeFile(QStringLiteral("photo.jpg"), content);

    const PhotoLoader::Picture picture
        = PhotoLoader(QString(), scale).load({ "photo.jpg" }, QSize(1500, 800), ratio);
    QCOMPARE(picture.image.devicePixelRatio(), ratio);
    if (decoded.isValid()) {
        QCOMPARE(picture.photoName, QStringLiteral("photos:photo.jpg"));
        QCOMPARE(picture.image.size(), decoded);
    } else {
        QVERIFY(picture.photoName.isEmpty());
        QVERIFY(!picture.image.isNull());
    }
}

void TestPhotoLoader::changedAfterBeingFound_data()
{
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QColor>("shownColour");

    QTest::newRow("deleted") << QByteArray() << "photos:b.png" << QColor(Qt::blue);
    QTest::newRow("replaced by another photo")
        << encoded(QSize(3000, 200), Qt::green, "PNG") << "photos:a.png" << QColor(Qt::green);
    QTest::newRow("replaced by text")
        << QByteArray("not a photo any more") << "photos:b.png" << QColor(Qt::blue);
    QTest::newRow("made unreadable")
        << QByteArray("unreadable") << "photos:b.png" << QColor(Qt::blue);
    QTest::newRow("replaced by a header bomb")
        << jpegClaiming(QSize(50000, 50000), true) << "photos:b.png" << QColor(Qt::blue);
}

void TestPhotoLoader::changedAfterBeingFound()
{
    QFETCH(QByteArray, replacement);
    QFETCH(QString, shownName);
    QFETCH(QColor, shownColour);
    writeFile(QStringLiteral("a.png"), encoded(QSize(64, 48), Qt::red, "PNG"));
    writeFile(QStringLiteral("b.png"), encoded(QSize(64, 48), Qt::blue, "PNG"));
    const QStringList photos = PhotoLoader::findPhotos();

    if (replacement == "unreadable") {
        QVERIFY(QFile::setPermissions(photoPath(QStringLiteral("a.png")), {}));
        if (QFile(photoPath(QStringLiteral("a.png"))).open(QIODevice::ReadOnly))
            QSKIP("This user reads files whatever their permissions say (root).");
    } else {
        QFile::remove(photoPath(QStringLiteral("a.png")));
        if (!replacement.isEmpty())
            writeFile(QStringLiteral("a.png"), replacement);
    }

    // Whatever the generator draws, a.png comes first: b.png was shown last.
    RandomSource::seed(1);
    const QSize area(600, 400);
    const PhotoLoader::Picture picture
        = PhotoLoader(QStringLiteral("photos:b.png"), false).load(photos, area, 1);
    QCOMPARE(picture.photoName, shownName);
    QVERIFY(sameColour(centreColour(picture.image), shownColour));
    QVERIFY(picture.image.width() <= area.width() && picture.image.height() <= area.height());
}

DORVEX_TEST_MAIN(TestPhotoLoader)

#include "tst_photoloader.moc"
