#include "startup.h"

#include "alarmsystemlocale.h"
#include "appconstants.h"
#include "launchertoken.h"
#include "mainwindow.h"
#include "processexithook.h"
#include "randomsource.h"
#include "sessionbusaddress.h"
#include "settingskeys.h"
#include "singleinstance.h"
#include "startupoptions.h"
#include "terminationsignals.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QSettings>
#include <QTextStream>
#include <QTranslator>

namespace {

void tellOnStandardError(const QString &text)
{
    QTextStream(stderr) << text << Qt::endl;
}

} // namespace

int Startup::run(int argc, char **argv)
{
    RandomSource::seedFromTimeOfDay();
    const StartupOptions options = StartupOptions::fromArguments(argc, argv);
    const Startup startup(options);
    startup.settleLanguage();
    registerIdentity();

    QApplication application(argc, argv);
    // Before anything asks for the session bus: the toolkit's tray icon
    // does, and so does the window's tray host watcher.
    SessionBusAddress::skipAutolaunch();
    prepareApplication();

    QTranslator translator;
    QTranslator toolkitTranslator;
    startup.installCatalogue(translator, toolkitTranslator);

    SingleInstance instance(
        SingleInstance::runtimeFolder(), SingleInstance::keyForStore(QSettings().fileName()));
    if (const int exitCode = claimSingleCopy(instance); exitCode >= 0)
        return exitCode;
    TerminationSignals terminationSignals;

    MainWindow window(options.debugMode);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
        [&window](const QByteArray &launcherToken) {
            LauncherToken::adopt(launcherToken);
            window.bringToFront();
        });
    QObject::connect(&terminationSignals, &TerminationSignals::received, &window,
        &MainWindow::endWithoutQuestion);
    QObject::connect(
        &application, &QGuiApplication::commitDataRequest, &window, &MainWindow::commitSessionData);
    // Registered after the window has read the store, so that the store's
    // own process-wide parts are still there when the hook runs.
    ProcessExitHook::install(&window, [&window] { window.saveWithoutQuestion(); });
    window.showAtStart();
    return QApplication::exec();
}

int Startup::claimSingleCopy(SingleInstance &instance)
{
    switch (instance.claim(LauncherToken::ofThisStart())) {
    case SingleInstance::Role::First:
        return -1;
    case SingleInstance::Role::HandedOver:
        tellOnStandardError(QCoreApplication::translate(
            "Startup", "Dorvex is already running: its window has been brought to the front."));
        return 0;
    case SingleInstance::Role::OtherCopySilent:
        tellOnStandardError(QCoreApplication::translate(
            "Startup", "Dorvex is already running but does not answer; this start ends here."));
        return 1;
    case SingleInstance::Role::Unguarded:
        tellOnStandardError(QCoreApplication::translate("Startup",
            "Dorvex: the runtime folder \"%1\" cannot be used, so a single copy of Dorvex "
            "cannot be guaranteed.")
                                .arg(SingleInstance::runtimeFolder()));
        return -1;
    }
    return -1;
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
    QCoreApplication::addLibraryPath(
        QCoreApplication::applicationDirPath() + QLatin1String("/plugins"));
    QApplication::setQuitOnLastWindowClosed(false);
    for (const char *folder : { "photos", "translations" })
        QDir::setSearchPaths(QLatin1String(folder),
            QStringList { QDir::currentPath() + QLatin1Char('/') + QLatin1String(folder) });
}

QString Startup::catalogueName()
{
    return QStringLiteral("translations/dorvex_%1").arg(QLocale::system().name());
}

void Startup::installCatalogue(
    QTranslator &translator, QTranslator &toolkitTranslator, const QString &toolkitFolder) const
{
    if (!options.useTranslation)
        return;
    // No directory: the name is taken relative to the working directory, and
    // the toolkit cuts it back at "_" and "." so that "dorvex_de" serves de_DE.
    // A missing catalogue leaves the translator empty, which is harmless.
    (void)translator.load(catalogueName());
    QCoreApplication::installTranslator(&translator);

    // Without ours the interface stays English, and so do the standard
    // buttons: half a language is worse than none.
    if (translator.isEmpty())
        return;
    const QString folder = toolkitFolder.isEmpty()
        ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
        : toolkitFolder;
    if (toolkitTranslator.load(
            QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(&toolkitTranslator);
}
