#ifndef DORVEX_PLAINTOOLTIP_H
#define DORVEX_PLAINTOOLTIP_H

#include <QString>

// A tool tip reads its text as markup when it looks like some: `line` is
// shown as typed all the same, and cut short, as a tool tip lays out all it
// is given, a text of megabytes too.
QString plainToolTip(const QString &line);

#endif
