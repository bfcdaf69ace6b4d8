// Writes a large baseline JPEG by tiling a photo, so that a 100-megapixel
// camera photo can be measured without a camera: the tiles keep the
// source's detail, which is what decoding costs.
// Usage: tilephoto SOURCE WIDTH HEIGHT TARGET
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include <algorithm>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 5) {
        std::fprintf(stderr, "usage: tilephoto SOURCE WIDTH HEIGHT TARGET\n");
        return 2;
    }
    // The source and the canvas are both larger than Qt decodes by default.
    QImageReader::setAllocationLimit(0);
    const QImage source = QImage(arguments.at(1)).convertToFormat(QImage::Format_RGB32);
    QImage canvas(arguments.at(2).toInt(), arguments.at(3).toInt(), QImage::Format_RGB32);
    if (source.isNull() || canvas.isNull()) {
        std::fprintf(stderr, "tilephoto: cannot read the source or make the canvas\n");
        return 1;
    }
    for (int y = 0; y < canvas.height(); ++y) {
        const auto *from
            = reinterpret_cast<const QRgb *>(source.constScanLine(y % source.height()));
        auto *to = reinterpret_cast<QRgb *>(canvas.scanLine(y));
        for (int x = 0; x < canvas.width(); x += source.width())
            std::copy_n(from, std::min(source.width(), canvas.width() - x), to + x);
    }
    return canvas.save(arguments.at(4), "JPEG", 90) ? 0 : 1;
}
