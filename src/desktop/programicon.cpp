#include "programicon.h"

namespace ProgramIcon {

QIcon icon()
{
    const QIcon scalable(QStringLiteral(":/icons/dorvex.svg"));
    return scalable.isNull() ? QIcon(QStringLiteral(":/icons/images/dorvex_mini.png")) : scalable;
}

} // namespace ProgramIcon
