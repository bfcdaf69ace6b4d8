#ifndef DORVEX_TRAYPICTURE_H
#define DORVEX_TRAYPICTURE_H

#include <QIcon>
#include <QString>

// The tray icon's picture: the program's clock, with a green lamp while an
// alarm is armed.
namespace TrayPicture {

// The name in the icon theme: "dorvex", or "dorvex-armed".
QString themeName(bool armed);
// The installed icon by name, so that a StatusNotifier panel draws it at its
// own size; where it is not installed, our own pictures at several sizes.
QIcon icon(bool armed);

} // namespace TrayPicture

#endif
