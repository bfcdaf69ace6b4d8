#ifndef DORVEX_SETTINGSREPAIR_H
#define DORVEX_SETTINGSREPAIR_H

#include <QStringList>

// Mends a settings file that could not be read as a whole (damaged on disk,
// overwritten with other data). Writing over such a file keeps whatever the
// reader made of the debris; this starts a fresh file instead.
class SettingsRepair
{
public:
    // Replaces the store's file with one holding only the values of these
    // keys that could still be read. False when the fresh file could not
    // be written.
    static bool rewriteClean(const QStringList &keptKeys);
};

#endif
