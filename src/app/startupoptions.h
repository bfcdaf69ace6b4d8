#ifndef DORVEX_STARTUPOPTIONS_H
#define DORVEX_STARTUPOPTIONS_H

#include <QStringList>

// The two command-line switches. Each is recognised only as a whole,
// case-sensitive argument; everything else is left to the toolkit.
struct StartupOptions
{
    bool debugMode = false; // "-d": test buttons and the settings reset shown
    bool useTranslation = true; // "-nolang": interface stays in English

    static StartupOptions fromArguments(const QStringList &arguments);
    static StartupOptions fromArguments(int argc, char **argv);
};

#endif
