#ifndef DORVEX_PROGRAMICON_H
#define DORVEX_PROGRAMICON_H

#include <QIcon>

namespace ProgramIcon {

// The program's emblem at every size, window switchers and HiDPI screens
// included, drawn from the scalable picture by Qt's SVG icon engine; the
// 16-pixel picture (with its 32-pixel double) where that engine is missing.
QIcon icon();

} // namespace ProgramIcon

#endif
