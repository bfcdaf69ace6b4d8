#include "plaintooltip.h"

#include <QTextDocument>

QString plainToolTip(const QString &line)
{
    constexpr int shownAtMost = 500;
    const QString shown = line.size() > shownAtMost ? line.left(shownAtMost) + QChar(0x2026) : line;
    if (!Qt::mightBeRichText(shown))
        return shown;
    return QLatin1String("<p style=\"white-space:pre-wrap\">") + shown.toHtmlEscaped()
        + QLatin1String("</p>");
}
