#include "alarmsystemlocale.h"

AlarmSystemLocale::AlarmSystemLocale(const QLocale &locale)
    : forcedLocale(locale)
{
}

AlarmSystemLocale::~AlarmSystemLocale() = default;

QVariant AlarmSystemLocale::query(QueryType type, QVariant in) const
{
    switch (type) {
    case LanguageId:
        return static_cast<int>(forcedLocale.language());
    case TerritoryId:
        return static_cast<int>(forcedLocale.territory());
    default:
        return QSystemLocale::query(type, in);
    }
}
