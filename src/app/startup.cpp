#include "startup.h"

#include "alarmsystemlocale.h"
#include "appconstants.h"
#include "mainwindow.h"
#include "randomsource.h"
#include "settingskeys.h"
#include "startupoptions.h"

#include <QApplication>
#include <QSettings>
#include <QTranslator>

int Startup::run(int argc, char **argv)
{
    RandomSource::seedFromTimeOfDay();
    const StartupOptions options = StartupOptions::fromArguments(argc, argv);
    const Startup startup(options);
    startup.settleLanguage();
    registerIdentity();

    QApplication application(argc, argv);
    prepareApplication();

    QTranslator translator;
    startup.installCatalogue(translator);

    MainWindow window(options.debugMode);
    window.showAtStart();
    return QApplication::exec();
}

Startup::Startup(const StartupOptions &options)
    : options(options)
{
}

void Startup::settleLanguage() const
{
    if (!options.useTranslation)
        return;
    // The application-wide names are not registered yet.
    const QSettings settings { QLatin1String(organizationName), QLatin1String(applicationName) };
    const QString language = SettingsKeys::readLanguage(settings);

    QLocale forced;
    if (language == QLatin1String(defaultLanguageCode)) {
        forced = QLocale(QLocale::system().name());
    } else {
        qputenv("LANG", language.toLatin1());
        forced = QLocale(language);
    }
    // Installed for good: the toolkit keeps asking it for the system locale.
    new AlarmSystemLocale(forced);
}

void Startup::registerIdentity()
{
    QCoreApplication::setOrganizationName(QLatin1String(organizationName));
    QCoreApplication::setOrganizationDomain(QLatin1String(organizationDomain));
    QCoreApplication::setApplicationName(QLatin1String(applicationName));
}

void Startup::prepareApplication()
{
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath()
                                     + QLatin1String("/plugins"));
    QApplication::setQuitOnLastWindowClosed(false);
}

QString Startup::catalogueName()
{
    return QStringLiteral("translations/dorvex_%1").arg(QLocale::system().name());
}

void Startup::installCatalogue(QTranslator &translator) const
{
    if (!options.useTranslation)
        return;
    // No directory: the name is taken relative to the working directory, and
    // the toolkit cuts it back at "_" and "." so that "dorvex_de" serves de_DE.
    // A missing catalogue leaves the translator empty, which is harmless.
    (void)translator.load(catalogueName());
    QCoreApplication::installTranslator(&translator);
}
