// Writes a JPEG camera photo of any size, too large for ImageMagick's
// default resource limits: smooth colour gradients under fine noise, so that
// it decodes about as slowly as a real photo of that size.
// Usage: photomaker WIDTH HEIGHT FILE [--progressive]
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: photomaker WIDTH HEIGHT FILE [--progressive]\n");
        return 2;
    }
    const int width = arguments.at(1).toInt();
    const int height = arguments.at(2).toInt();
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull()) {
        std::fprintf(stderr, "photomaker: cannot hold %d x %d pixels\n", width, height);
        return 1;
    }
    QRandomGenerator noise(12);
    for (int y = 0; y < height; ++y) {
        uchar *pixel = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const quint32 grain = noise.generate();
            *pixel++ = uchar(255 * x / width) ^ uchar(grain & 0x0f);
            *pixel++ = uchar(255 * y / height) ^ uchar((grain >> 8) & 0x0f);
            *pixel++ = uchar(255 * (x + y) / (width + height)) ^ uchar((grain >> 16) & 0x0f);
        }
    }
    QImageWriter writer(arguments.at(3), "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(arguments.contains(QStringLiteral("--progressive")));
    if (!writer.write(image)) {
        std::fprintf(stderr, "photomaker: %s\n", qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
