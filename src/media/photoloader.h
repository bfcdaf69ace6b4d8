#ifndef DORVEX_PHOTOLOADER_H
#define DORVEX_PHOTOLOADER_H

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Picks the picture of an alarm's dialog from the photos folders and decodes
// it at the size it will be shown. It needs no widget, so that the work can
// be done before the alarm's dialog exists.
class PhotoLoader
{
public:
    struct Picture
    {
        // Carries the device pixel ratio it was decoded for.
        QImage image;
        // "photos:" and the file's name; empty for the built-in picture.
        QString photoName;
    };

    // Avoids lastShownPhoto when there is a choice; scaleToArea is the
    // "Scale clock image" option.
    PhotoLoader(const QString &lastShownPhoto, bool scaleToArea);

    // The bare names of the photos in the folders registered under "photos",
    // each folder in the order of a directory listing.
    static QStringList findPhotos();

    // Draws one of photos and decodes it to fit area (device pixels). A photo
    // that does not decode is replaced by another draw, and after a few by
    // the built-in picture.
    Picture load(const QStringList &photos, const QSize &area, qreal devicePixelRatio) const;

    // The size at which a picture is shown within area: its own when it fits
    // (or, with scaleToArea, the largest that fits), never stretched.
    static QSize shownSize(const QSize &picture, const QSize &area, bool scaleToArea);

private:
    QString draw(const QStringList &photos) const;
    QImage decode(const QString &fileName, const QSize &area) const;

    QString lastShownPhoto;
    bool scaleToArea;
};

#endif
