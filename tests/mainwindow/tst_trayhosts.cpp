#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testenvironment.h"
#include "trayhostprocess.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

// The window with a tray host that comes and goes during the session:
// trayer, or the harness's StatusNotifier host, as DORVEX_TEST_TRAY_HOST
// says. No tray is there when the window is built.
namespace {

int mappedPanels()
{
    QProcess xdotool;
    xdotool.start(
        QStringLiteral("xdotool"), { "search", "--onlyvisible", "--name", "^Dorvex 1\\.0\\.2$" });
    xdotool.waitForFinished(30000);
    return QString::fromLatin1(xdotool.readAllStandardOutput())
        .split('\n', Qt::SkipEmptyParts)
        .size();
}

bool statusNotifierSession()
{
    return TrayHostProcess::kindFromEnvironment() == TrayHostProcess::Kind::StatusNotifier;
}

} // namespace

class TestTrayHosts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void trayThatComesAndGoesThreeTimes();
    void settingsOfferTheTrayOptionsOnlyWithATray();
    void clickOnAStatusNotifierIconRestoresOnly();
    void statusNotifierIconByNameOrAtSeveralSizes_data();
    void statusNotifierIconByNameOrAtSeveralSizes();

private:
    template<typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    bool parked() const { return child<QAction>("action_RestoreWindow")->isEnabled(); }
    // The icon shown, not one already on its way out.
    QSystemTrayIcon *trayIcon() const;
    bool iconShown() const;

    MainWindow *window = nullptr;
    TrayHostProcess host { TrayHostProcess::kindFromEnvironment() };
};

void TestTrayHosts::init()
{
    TestEnvironment::instance().reset();
    window = new MainWindow(false);
}

void TestTrayHosts::cleanup()
{
    delete window;
    window = nullptr;
    host.stop();
    QTRY_COMPARE(mappedPanels(), 0);
}

QSystemTrayIcon *TestTrayHosts::trayIcon() const
{
    const QList<QSystemTrayIcon *> icons = window->findChildren<QSystemTrayIcon *>();
    for (QSystemTrayIcon *icon : icons) {
        if (icon->isVisible())
            return icon;
    }
    return nullptr;
}

// Shown as the host sees it: embedded in the X tray, or registered with the
// StatusNotifier host once and only once.
bool TestTrayHosts::iconShown() const
{
    if (!trayIcon())
        return false;
    if (statusNotifierSession())
        return host.items().size() == 1;
    return trayIcon()->geometry().isValid() && trayIcon()->geometry().topLeft() != QPoint(0, 0);
}

void TestTrayHosts::trayThatComesAndGoesThreeTimes()
{
    window->showAtStart();
    QTRY_COMPARE(mappedPanels(), 1);
    QVERIFY(!trayIcon());
    QVERIFY(!child<QPushButton>("toTrayPushButton")->isEnabled());

    for (int round = 1; round <= 3; ++round) {
        QVERIFY(host.start());
        QTRY_VERIFY(iconShown());
        QVERIFY(child<QPushButton>("toTrayPushButton")->isEnabled());
        child<QPushButton>("toTrayPushButton")->click();
        QVERIFY(parked());
        QTRY_COMPARE(mappedPanels(), 0);

        // Parked with no way back but the icon, which is going.
        host.stop();
        QTRY_VERIFY(!parked());
        QTRY_COMPARE(mappedPanels(), 1);
        QVERIFY(!trayIcon());
        QVERIFY(!child<QPushButton>("toTrayPushButton")->isEnabled());
    }
}

void TestTrayHosts::settingsOfferTheTrayOptionsOnlyWithATray()
{
    window->showAtStart();
    QTRY_COMPARE(mappedPanels(), 1);
    for (const bool withTray : { false, true }) {
        if (withTray) {
            QVERIFY(host.start());
            QTRY_VERIFY(trayIcon());
        }
        bool enabled = !withTray;
        ModalAnswerer look([&enabled](QWidget *dialog) {
            enabled = dialog->findChild<QCheckBox *>(QStringLiteral("closeToTrayCheckBox"))
                          ->isEnabled();
            qobject_cast<QDialog *>(dialog)->reject();
        });
        child<QAction>("action_Settings")->trigger();
        QVERIFY(look.answered());
        QCOMPARE(enabled, withTray);
    }
}

void TestTrayHosts::clickOnAStatusNotifierIconRestoresOnly()
{
    if (!statusNotifierSession())
        QSKIP("an XEmbed tray reports double clicks; tested with the window");
    QVERIFY(host.start());
    {
        QSettings settings;
        SettingsKeys::startOnTray.write(settings, true);
    }
    // Decided once the bus has told whether a host is there: parked, never shown.
    window->showAtStart();
    QTRY_VERIFY(iconShown());
    QTRY_VERIFY(parked());
    QCOMPARE(mappedPanels(), 0);

    QSignalSpy clicks(trayIcon(), &QSystemTrayIcon::activated);
    const QString item = host.items().value(0);
    host.activate(item);
    QTRY_COMPARE(clicks.count(), 1);
    QCOMPARE(
        clicks.at(0).at(0).value<QSystemTrayIcon::ActivationReason>(), QSystemTrayIcon::Trigger);
    QVERIFY(!parked());
    QTRY_COMPARE(mappedPanels(), 1);

    // Shown already: a click changes nothing.
    host.activate(item);
    QTRY_COMPARE(clicks.count(), 2);
    QVERIFY(!parked());
    QVERIFY(window->isVisible());
    QCOMPARE(mappedPanels(), 1);
}

void TestTrayHosts::statusNotifierIconByNameOrAtSeveralSizes_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("icon installed in the theme") << true;
    QTest::newRow("icon not installed") << false;
}

void TestTrayHosts::statusNotifierIconByNameOrAtSeveralSizes()
{
    QFETCH(bool, installed);
    if (!statusNotifierSession())
        QSKIP("an XEmbed tray draws the icon itself");
    QTemporaryDir icons;
    if (installed) {
        const QString folder = icons.path() + QLatin1String("/hicolor/48x48/apps");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(
            QStringLiteral(":/tray/dorvex-64.png"), folder + QLatin1String("/dorvex.png")));
        QFile index(icons.path() + QLatin1String("/hicolor/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
                    "[48x48/apps]\nSize=48\nType=Fixed\n");
    }
    // The theme is looked up again whenever its paths change.
    const auto restorePaths = qScopeGuard(
        [searchPaths = QIcon::themeSearchPaths()] { QIcon::setThemeSearchPaths(searchPaths); });
    QIcon::setThemeSearchPaths({ icons.path() });
    delete window;
    window = new MainWindow(false);

    QVERIFY(host.start());
    window->showAtStart();
    QTRY_VERIFY(iconShown());
    const TrayHostProcess::Icon icon = host.icon(host.items().value(0));
    if (installed) {
        QCOMPARE(icon.name, QStringLiteral("dorvex"));
    } else {
        QCOMPARE(icon.name, QString());
        QVERIFY2(icon.pictureSizes.contains(16) && icon.pictureSizes.contains(32)
                && icon.pictureSizes.contains(64),
            qPrintable(QString::number(icon.pictureSizes.size())));
    }
}

DORVEX_TEST_MAIN(TestTrayHosts)
#include "tst_trayhosts.moc"
