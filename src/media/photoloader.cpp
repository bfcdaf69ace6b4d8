#include "photoloader.h"

#include "randomsource.h"

#include <QDir>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

static const char builtInPicture[] = ":/images/images/clocmain1.jpg";
static const char photosPrefix[] = "photos";

// A draw may hit the photo just dismissed again and again (one chance in two
// with two photos); after this many tries that photo is shown once more
// rather than keep the alarm waiting on luck.
static const int maximumDraws = 10;

// Photos that do not decode are passed over, but a folder full of them must
// not hold the alarm up: after this many the built-in picture is shown.
static const int maximumReplacements = 10;

// Qt 6.4 refuses by default to decode more than 128 MB, which would leave a
// 48-megapixel PNG blank. Twice that lets such photos through while a forged
// header that claims gigabytes is still turned away before anything is
// allocated.
static const int decodingLimitMegabytes = 256;

// Cameras make photos of up to about 200 megapixels. A header that claims
// more is forged or damaged; even scaled while decoding, a baseline JPEG of
// 50000 x 50000 pixels would take seconds and 150 MB at the alarm's moment.
static const qint64 largestPhotoPixels = 250'000'000;

// Whether a JPEG file is progressive. libjpeg then keeps the coefficients of
// the whole photo in memory, whatever size it is scaled to while decoding.
static bool isProgressiveJpeg(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.read(2) != QByteArray("\xff\xd8", 2))
        return false;
    for (;;) {
        char byte = 0;
        if (!file.getChar(&byte) || static_cast<uchar>(byte) != 0xff)
            return false;
        // Any number of fill bytes may precede a marker.
        while (static_cast<uchar>(byte) == 0xff)
            if (!file.getChar(&byte))
                return false;
        const uchar marker = static_cast<uchar>(byte);
        const bool startOfFrame = marker >= 0xc0 && marker <= 0xcf && marker != 0xc4
            && marker != 0xc8 && marker != 0xcc;
        if (startOfFrame)
            return marker == 0xc2 || marker == 0xc6 || marker == 0xca || marker == 0xce;
        if (marker == 0xda || marker == 0xd9)
            return false;
        const QByteArray length = file.read(2);
        if (length.size() != 2)
            return false;
        const int segment
            = (static_cast<uchar>(length.at(0)) << 8) | static_cast<uchar>(length.at(1));
        if (segment < 2 || !file.skip(segment - 2))
            return false;
    }
}

// Whether the reader must hold the whole photo in memory to scale it down.
static bool decodedWhole(QImageReader &reader, const QString &fileName)
{
    return reader.format() != "jpeg" || isProgressiveJpeg(fileName);
}

static bool pastDecodingLimit(const QSize &size)
{
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    return bytes > qint64(decodingLimitMegabytes) * 1024 * 1024;
}

PhotoLoader::PhotoLoader(const QString &lastShownPhoto, bool scaleToArea)
    : lastShownPhoto(lastShownPhoto)
    , scaleToArea(scaleToArea)
{
}

QStringList PhotoLoader::findPhotos()
{
    const QStringList nameFilters { QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
        QStringLiteral("*.png") };
    QStringList photos;
    for (const QString &folder : QDir::searchPaths(QLatin1String(photosPrefix))) {
        const QDir directory(folder);
        if (directory.exists())
            photos += directory.entryList(nameFilters, QDir::Files);
    }
    return photos;
}

PhotoLoader::Picture PhotoLoader::load(
    const QStringList &photos, const QSize &area, qreal devicePixelRatio) const
{
    QImageReader::setAllocationLimit(decodingLimitMegabytes);
    Picture picture;
    QStringList remaining = photos;
    for (int replacement = 0; replacement <= maximumReplacements && !remaining.isEmpty();
         ++replacement) {
        const QString name = draw(remaining);
        picture.image = decode(name, area);
        if (!picture.image.isNull()) {
            picture.photoName = name;
            break;
        }
        remaining.removeOne(name.mid(qstrlen(photosPrefix) + 1));
    }
    if (picture.image.isNull())
        picture.image = decode(QLatin1String(builtInPicture), area);
    picture.image.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

QSize PhotoLoader::shownSize(const QSize &picture, const QSize &area, bool scaleToArea)
{
    if (picture.isEmpty() || area.isEmpty())
        return QSize();
    const bool fits = picture.width() <= area.width() && picture.height() <= area.height();
    if (fits && !scaleToArea)
        return picture;
    // Rounds down, so the whole picture always shows; a sliver keeps a pixel.
    return picture.scaled(area, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QString PhotoLoader::draw(const QStringList &photos) const
{
    QString name;
    for (int draw = 1; draw <= maximumDraws; ++draw) {
        name = QLatin1String(photosPrefix) + QLatin1Char(':')
            + photos.at(RandomSource::draw(photos.size()));
        if (photos.size() == 1 || name != lastShownPhoto)
            break;
    }
    return name;
}

QImage PhotoLoader::decode(const QString &fileName, const QSize &area) const
{
    QImageReader reader(fileName);
    // Camera photos are stored sideways with a note to turn them upright.
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool quarterTurn = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = quarterTurn ? stored.transposed() : stored;
    const QSize shown = shownSize(upright, area, scaleToArea);
    if (shown.isEmpty())
        return QImage();
    if (qint64(stored.width()) * stored.height() > largestPhotoPixels
        || (pastDecodingLimit(stored) && decodedWhole(reader, fileName)))
        return QImage();
    if (shown != upright)
        reader.setScaledSize(quarterTurn ? shown.transposed() : shown);
    return reader.read();
}
