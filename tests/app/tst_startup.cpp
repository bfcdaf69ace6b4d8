#include "appconstants.h"
#include "settingskeys.h"
#include "startup.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QProcess>
#include <QSettings>
#include <QTranslator>

// The locale override and the environment are process-wide and cannot be
// undone, so every start-up is played in a child process of this test,
// which reports what the program would see.
namespace {

const char scenarioSwitch[] = "--startup-scenario";
const char absent[] = "<absent>";
// Where the child looks for the toolkit's catalogues; empty for Qt's own.
const char toolkitFolderVariable[] = "DORVEX_TEST_TOOLKIT_TRANSLATIONS";

int runScenario(int argc, char **argv)
{
    // argv: test --startup-scenario STORED_LANGUAGE [PROGRAM SWITCHES...]
    TestEnvironment environment;
    const QString stored = QString::fromUtf8(argv[2]);
    if (stored != QLatin1String(absent)) {
        QSettings settings { QLatin1String(organizationName), QLatin1String(applicationName) };
        settings.setValue(QLatin1String(SettingsKeys::language), stored);
    }
    QDir().mkpath(QStringLiteral("translations"));
    QFile::copy(QStringLiteral(TEST_CATALOGUE), QStringLiteral("translations/dorvex_de.qm"));

    QStringList switches;
    for (int i = 3; i < argc; ++i)
        switches << QString::fromUtf8(argv[i]);
    const Startup startup(StartupOptions::fromArguments(switches));
    startup.settleLanguage();
    Startup::registerIdentity();
    int appArgc = 1;
    QApplication application(appArgc, argv);
    // Counts what start-up says on the terminal while it loads catalogues.
    static int messages = 0;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &) { ++messages; });
    QTranslator translator;
    QTranslator toolkitTranslator;
    startup.installCatalogue(
        translator, toolkitTranslator, qEnvironmentVariable(toolkitFolderVariable));
    qInstallMessageHandler(previous);

    const QLocale system = QLocale::system();
    QTextStream out(stdout);
    out << "LANG=" << (qEnvironmentVariableIsSet("LANG") ? qEnvironmentVariable("LANG") : "<unset>")
        << "\nname=" << system.name()
        << "\nlanguage=" << QLocale::languageToString(system.language())
        << "\ndecimalPoint=" << system.decimalPoint() << "\ncatalogue=" << Startup::catalogueName()
        << "\ntranslated=" << QCoreApplication::translate("MainWindow", "&File")
        << "\ncancel=" << QCoreApplication::translate("QPlatformTheme", "Cancel")
        << "\nshortcut=" << QKeySequence(Qt::CTRL | Qt::Key_Q).toString(QKeySequence::NativeText)
        << "\nmessages=" << messages << "\n";
    return 0;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void language_data();
    void language();
    void unusableStoredLanguageKeepsAUsableLocale_data();
    void unusableStoredLanguageKeepsAUsableLocale();
    void toolkitCatalogueBesideOurs_data();
    void toolkitCatalogueBesideOurs();

private:
    QMap<QString, QString> play(const QString &stored, const QStringList &switches,
        const QString &lang = QStringLiteral("en_US.UTF-8"),
        const QString &toolkitFolder = QString());
};

QMap<QString, QString> TestStartup::play(const QString &stored, const QStringList &switches,
    const QString &lang, const QString &toolkitFolder)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LANGUAGE"));
    env.insert(QStringLiteral("LANG"), lang);
    // Number formats come from here, whatever the interface language is.
    env.insert(QStringLiteral("LC_NUMERIC"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QLatin1String(toolkitFolderVariable), toolkitFolder);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
        QStringList { QLatin1String(scenarioSwitch), stored } + switches);
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        qWarning() << child.readAllStandardError();
        return {};
    }
    QMap<QString, QString> report;
    for (const QString &line : QString::fromUtf8(child.readAllStandardOutput()).split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            report.insert(line.left(equals), line.mid(equals + 1));
    }
    return report;
}

void TestStartup::language_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QString>("systemLang");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("systemName");
    QTest::addColumn<QString>("translated");

    const QString us = QStringLiteral("en_US.UTF-8");
    QTest::newRow("nothing stored: the system's locale")
        << absent << QStringList() << us << us << "en_US"
        << "&File";
    QTest::newRow("default stored: the system's locale")
        << defaultLanguageCode << QStringList() << us << us << "en_US"
        << "&File";
    QTest::newRow("system in German: catalogue dorvex_de serves de_AT")
        << absent << QStringList() << "de_AT.UTF-8"
        << "de_AT.UTF-8"
        << "de_AT"
        << "&Datei";
    QTest::newRow("de stored: LANG and locale follow, catalogue found")
        << "de" << QStringList() << us << "de"
        << "de_DE"
        << "&Datei";
    QTest::newRow("de stored with -d: the same") << "de" << QStringList { "-d" } << us << "de"
                                                 << "de_DE"
                                                 << "&Datei";
    QTest::newRow("de stored with -nolang: not read, nothing translated")
        << "de" << QStringList { "-nolang" } << us << us << "en_US"
        << "&File";
    QTest::newRow("de stored with -d -nolang: the same")
        << "de" << QStringList { "-d", "-nolang" } << us << us << "en_US"
        << "&File";
    QTest::newRow("de stored with -nolang2: recognised only as a whole")
        << "de" << QStringList { "-nolang2" } << us << "de"
        << "de_DE"
        << "&Datei";
    QTest::newRow("fr stored: no French catalogue, English texts")
        << "fr" << QStringList() << us << "fr"
        << "fr_FR"
        << "&File";
}

void TestStartup::language()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, switches);
    QFETCH(QString, systemLang);
    QFETCH(QString, lang);
    QFETCH(QString, systemName);
    QFETCH(QString, translated);

    const QMap<QString, QString> report = play(stored, switches, systemLang);
    QVERIFY(!report.isEmpty());
    QCOMPARE(report.value("LANG"), lang);
    QCOMPARE(report.value("name"), systemName);
    QCOMPARE(report.value("catalogue"), "translations/dorvex_" + systemName);
    QCOMPARE(report.value("translated"), translated);
    // Only language and territory are forced: numbers keep the base's format.
    QCOMPARE(report.value("decimalPoint"), QStringLiteral("."));
}

void TestStartup::unusableStoredLanguageKeepsAUsableLocale_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("unknown code") << "xx";
    QTest::newRow("empty") << "";
    QTest::newRow("full POSIX name") << "de_DE.UTF-8@euro";
    QTest::newRow("very long") << QString(5000, QLatin1Char('q'));
    QTest::newRow("not a name at all") << "../../etc/passwd";
}

void TestStartup::unusableStoredLanguageKeepsAUsableLocale()
{
    QFETCH(QString, stored);
    const QMap<QString, QString> report = play(stored, QStringList());
    QVERIFY2(!report.isEmpty(), "start-up crashed");
    QCOMPARE(report.value("LANG"), stored);
    QVERIFY(!report.value("name").isEmpty());
    QVERIFY(!report.value("language").isEmpty());
    QCOMPARE(report.value("decimalPoint"), QStringLiteral("."));
}

void TestStartup::toolkitCatalogueBesideOurs_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<bool>("toolkitCatalogueMissing");
    QTest::addColumn<QString>("translated");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("shortcut");

    QTest::newRow("German: standard buttons and key names too")
        << "de" << QStringList() << false << "&Datei"
        << "Abbrechen"
        << "Strg+Q";
    QTest::newRow("German without the toolkit's catalogue: ours still German")
        << "de" << QStringList() << true << "&Datei"
        << "Cancel"
        << "Ctrl+Q";
    QTest::newRow("French without our catalogue: no half French")
        << "fr" << QStringList() << false << "&File"
        << "Cancel"
        << "Ctrl+Q";
    QTest::newRow("German with -nolang: English throughout")
        << "de" << QStringList { "-nolang" } << false << "&File"
        << "Cancel"
        << "Ctrl+Q";
}

void TestStartup::toolkitCatalogueBesideOurs()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, switches);
    QFETCH(bool, toolkitCatalogueMissing);
    QFETCH(QString, translated);
    QFETCH(QString, cancel);
    QFETCH(QString, shortcut);

    const QTemporaryDir emptyFolder;
    const QMap<QString, QString> report = play(stored, switches, QStringLiteral("en_US.UTF-8"),
        toolkitCatalogueMissing ? emptyFolder.path() : QString());
    QVERIFY(!report.isEmpty());
    QCOMPARE(report.value("translated"), translated);
    QCOMPARE(report.value("cancel"), cancel);
    QCOMPARE(report.value("shortcut"), shortcut);
    // Not a word on the terminal, whatever is missing, at every start.
    QCOMPARE(report.value("messages"), QStringLiteral("0"));
}

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], scenarioSwitch) == 0)
        return runScenario(argc, argv);
    TestEnvironment environment;
    QApplication application(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
