#ifndef DORVEX_SETTINGSREPAIR_H
#define DORVEX_SETTINGSREPAIR_H

#include <QString>

// Mends a settings file that could not be read as a whole (damaged on disk,
// overwritten with other data). Writing over such a file keeps whatever the
// reader made of the debris; this starts a fresh file instead.
class SettingsRepair
{
public:
    // Replaces the store's file with one holding only the values that could
    // still be read under keys shaped like the program's own. False when the
    // fresh file could not be written.
    static bool rewriteClean();

    // Words of letters, digits and underscores, one or two of them joined
    // by a slash: "language", "alarm2/time", "last_shown_photo".
    static bool isProgramKey(const QString &key);
};

#endif
