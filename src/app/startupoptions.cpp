#include "startupoptions.h"

StartupOptions StartupOptions::fromArguments(const QStringList &arguments)
{
    StartupOptions options;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("-d"))
            options.debugMode = true;
        else if (argument == QLatin1String("-nolang"))
            options.useTranslation = false;
    }
    return options;
}

StartupOptions StartupOptions::fromArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return fromArguments(arguments);
}
