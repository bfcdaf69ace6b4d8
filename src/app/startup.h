#ifndef DORVEX_STARTUP_H
#define DORVEX_STARTUP_H

#include "startupoptions.h"

#include <QString>

class QTranslator;
class SingleInstance;

// The start-up sequence of the program, step by step. The interface
// language is settled before the application object exists, so that the
// toolkit's system locale is already the chosen one when it is created.
class Startup
{
public:
    static int run(int argc, char **argv);

    explicit Startup(const StartupOptions &options);

    // Reads the stored language; unless it is "default", exports it as LANG.
    // Then installs the locale override for the rest of the process.
    // Does nothing at all when translation is switched off.
    void settleLanguage() const;

    // Loads our catalogue for the system locale and installs the translator,
    // found or not. When ours is found, the toolkit's own catalogue for the
    // same locale is installed beside it from `toolkitFolder` (Qt's
    // translations when empty), so that standard buttons and key names speak
    // the same language; one that is missing is passed over in silence.
    // Does nothing when translation is switched off.
    void installCatalogue(QTranslator &translator, QTranslator &toolkitTranslator,
        const QString &toolkitFolder = QString()) const;

    // Organisation and application names of the settings store.
    static void registerIdentity();

    // Needs the application object: plug-ins beside the executable, hidden
    // or closed windows never end the process by themselves, and the
    // "photos:" and "translations:" folders in the working folder.
    static void prepareApplication();

    // "translations/dorvex_" plus the system locale's name, relative to the
    // working directory.
    static QString catalogueName();

    // Makes this the only running copy for its settings store, or hands over
    // to the copy that is. Returns the exit code when this start must end
    // here, -1 when it goes on; says on standard error what happened.
    static int claimSingleCopy(SingleInstance &instance);

private:
    StartupOptions options;
};

#endif
