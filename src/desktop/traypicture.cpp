#include "traypicture.h"

namespace TrayPicture {

QString themeName(bool armed)
{
    return armed ? QStringLiteral("dorvex-armed") : QStringLiteral("dorvex");
}

QIcon icon(bool armed, bool byName)
{
    QIcon pictures;
    const QStringList files = armed
        ? QStringList { QStringLiteral(":/tray/dorvex-armed-16.png"),
              QStringLiteral(":/tray/dorvex-armed-32.png"),
              QStringLiteral(":/tray/dorvex-armed-64.png") }
        : QStringList { QStringLiteral(":/icons/images/dorvex_mini.png"),
              QStringLiteral(":/tray/dorvex-32.png"), QStringLiteral(":/tray/dorvex-64.png") };
    for (const QString &file : files)
        pictures.addFile(file);
    if (!byName)
        return pictures;
    // A look-up by name reads the icon theme's whole index first; an XEmbed
    // tray, which is only ever given pixels, is spared it.
    return QIcon::fromTheme(themeName(armed), pictures);
}

} // namespace TrayPicture
