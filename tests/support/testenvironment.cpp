#include "testenvironment.h"

#include "appconstants.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

TestEnvironment *TestEnvironment::current = nullptr;

TestEnvironment::TestEnvironment()
    : configDir(QDir::tempPath() + QLatin1String("/dorvex-test-config-XXXXXX"))
    , workDir(QDir::tempPath() + QLatin1String("/dorvex-test-work-XXXXXX"))
{
    Q_ASSERT(!current);
    current = this;
    qputenv("XDG_CONFIG_HOME", configDir.path().toLocal8Bit());
    // The one-copy lock and the program's sockets lie in the runtime folder:
    // a test's own, so that tests running side by side never meet there.
    // Under the X harness the harness has made one already.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtimeFolder = configDir.path() + QLatin1String("/runtime");
        QDir().mkpath(runtimeFolder);
        QFile::setPermissions(
            runtimeFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeFolder.toLocal8Bit());
    }
    // No alarm of a test is heard on the speakers of the machine running it:
    // unless the harness started a sound server of its own, there is none.
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(workDir.path()) + "/no-sound-server");
    QDir::setCurrent(workDir.path());
    // As the program's start-up sets them, for tests that build its window.
    for (const char *folder : { "photos", "translations" })
        QDir::setSearchPaths(QLatin1String(folder),
            QStringList { workDir.path() + QLatin1Char('/') + QLatin1String(folder) });
}

TestEnvironment::~TestEnvironment()
{
    QDir::setCurrent(QDir::tempPath());
    current = nullptr;
}

TestEnvironment &TestEnvironment::instance()
{
    Q_ASSERT(current);
    return *current;
}

void TestEnvironment::registerIdentity()
{
    QCoreApplication::setOrganizationName(QLatin1String(organizationName));
    QCoreApplication::setOrganizationDomain(QLatin1String(organizationDomain));
    QCoreApplication::setApplicationName(QLatin1String(applicationName));
}

QString TestEnvironment::configHome() const
{
    return configDir.path();
}

QString TestEnvironment::workingFolder() const
{
    return workDir.path();
}

QString TestEnvironment::settingsFile() const
{
    return configDir.path() + QLatin1Char('/') + QLatin1String(organizationName) + QLatin1Char('/')
        + QLatin1String(applicationName) + QLatin1String(".conf");
}

bool TestEnvironment::blockStore()
{
    const QString storeFolder = QFileInfo(settingsFile()).path();
    QDir(storeFolder).removeRecursively();
    QFile blocker(storeFolder);
    return blocker.open(QIODevice::WriteOnly);
}

void TestEnvironment::unblockStore()
{
    const QString storeFolder = QFileInfo(settingsFile()).path();
    if (QFileInfo(storeFolder).isFile())
        QFile::remove(storeFolder);
}

void TestEnvironment::reset()
{
    unblockStore();
    {
        QSettings settings { QLatin1String(organizationName), QLatin1String(applicationName) };
        settings.clear();
    }
    for (const char *folder : { "photos", "translations" })
        QDir(workDir.path() + QLatin1Char('/') + QLatin1String(folder)).removeRecursively();
    QDir::setCurrent(workDir.path());
}
