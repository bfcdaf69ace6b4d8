#ifndef DORVEX_TRAYPICTURE_H
#define DORVEX_TRAYPICTURE_H

#include <QIcon>
#include <QString>

// The tray icon's picture: the program's clock, with a green lamp while an
// alarm is armed.
namespace TrayPicture {

// The name in the icon theme: "dorvex", or "dorvex-armed".
QString themeName(bool armed);
// Our own pictures at several sizes. By name, for a StatusNotifier panel,
// which draws the icon at its own size: the installed icon where there is one.
QIcon icon(bool armed, bool byName);

} // namespace TrayPicture

#endif
