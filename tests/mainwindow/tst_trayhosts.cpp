#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testenvironment.h"
#include "trayhostprocess.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

// The window with a tray that comes and goes during the session, started by
// the test: trayer, or the harness's StatusNotifier host, as
// DORVEX_TEST_TRAY_HOST says. No tray is there when the window is built.
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

struct ShowCounter : QObject
{
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        shows += event->type() == QEvent::Show;
        return QObject::eventFilter(watched, event);
    }
    int shows = 0;
};

} // namespace

class TestTrayHosts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void trayThatComesAndGoesThreeTimes();
    void onlyAStartInTheTrayWaitsForTheTray_data();
    void onlyAStartInTheTrayWaitsForTheTray();
    void clickOnAStatusNotifierIconRestoresOnly();
    void statusNotifierIconByNameOrAtSeveralSizes_data();
    void statusNotifierIconByNameOrAtSeveralSizes();

private:
    template<typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    bool parked() const { return child<QAction>("action_RestoreWindow")->isEnabled(); }
    QSystemTrayIcon *trayIcon() const;
    bool iconShown() const;
    bool settingsOfferTray();

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
    host.stop();
    QTRY_COMPARE(mappedPanels(), 0);
}

// The icon shown, not one already on its way out.
QSystemTrayIcon *TestTrayHosts::trayIcon() const
{
    for (QSystemTrayIcon *icon : window->findChildren<QSystemTrayIcon *>()) {
        if (icon->isVisible())
            return icon;
    }
    return nullptr;
}

// As the host sees it: embedded in the X tray, or registered once and only once.
bool TestTrayHosts::iconShown() const
{
    if (!trayIcon())
        return false;
    if (statusNotifierSession())
        return host.items().size() == 1;
    return trayIcon()->geometry().isValid() && trayIcon()->geometry().topLeft() != QPoint(0, 0);
}

bool TestTrayHosts::settingsOfferTray()
{
    bool offered = false;
    ModalAnswerer look([&offered](QWidget *dialog) {
        offered
            = dialog->findChild<QCheckBox *>(QStringLiteral("closeToTrayCheckBox"))->isEnabled();
        qobject_cast<QDialog *>(dialog)->reject();
    });
    child<QAction>("action_Settings")->trigger();
    return look.answered() && offered;
}

void TestTrayHosts::trayThatComesAndGoesThreeTimes()
{
    window->showAtStart();
    QTRY_COMPARE(mappedPanels(), 1);
    auto *toTray = child<QPushButton>("toTrayPushButton");
    for (int round = 1; round <= 3; ++round) {
        QVERIFY(!trayIcon());
        QVERIFY(!toTray->isEnabled());
        QVERIFY(!settingsOfferTray());

        QVERIFY(host.start());
        QTRY_VERIFY(iconShown());
        QVERIFY(toTray->isEnabled());
        QVERIFY(settingsOfferTray());
        toTray->click();
        QTRY_COMPARE(mappedPanels(), 0);

        // Parked with no way back but the icon, which goes.
        host.stop();
        QTRY_VERIFY(!parked());
        QTRY_COMPARE(mappedPanels(), 1);
    }
}

void TestTrayHosts::onlyAStartInTheTrayWaitsForTheTray_data()
{
    QTest::addColumn<bool>("startOnTray");
    QTest::newRow("shown, with a watcher that never answers") << false;
    QTest::newRow("in the tray, with a tray") << true;
}

void TestTrayHosts::onlyAStartInTheTrayWaitsForTheTray()
{
    QFETCH(bool, startOnTray);
    TrayHostProcess silentWatcher(TrayHostProcess::Kind::SilentStatusNotifier);
    QVERIFY(startOnTray ? host.start() : silentWatcher.start());
    QSettings settings;
    SettingsKeys::startOnTray.write(settings, startOnTray);
    delete window;
    window = new MainWindow(false);
    ShowCounter counter;
    window->installEventFilter(&counter);
    window->showAtStart();
    QCOMPARE(window->isVisible(), !startOnTray);
    QTRY_VERIFY(startOnTray ? iconShown() : mappedPanels() == 1);
    QCOMPARE(parked(), startOnTray);
    QCOMPARE(counter.shows, startOnTray ? 0 : 1);
}

void TestTrayHosts::clickOnAStatusNotifierIconRestoresOnly()
{
    if (!statusNotifierSession())
        QSKIP("an XEmbed tray reports double clicks; tested with the window");
    QVERIFY(host.start());
    QSettings settings;
    SettingsKeys::startOnTray.write(settings, true);
    // A start with the host there: parked once the bus has told, never shown.
    delete window;
    window = new MainWindow(false);
    window->showAtStart();
    QTRY_VERIFY(iconShown());
    QTRY_VERIFY(parked());
    QCOMPARE(mappedPanels(), 0);

    QSignalSpy clicks(trayIcon(), &QSystemTrayIcon::activated);
    for (int click = 1; click <= 2; ++click) {
        host.activate(host.items().value(0));
        QTRY_COMPARE(clicks.count(), click);
        QCOMPARE(clicks.last().at(0).value<QSystemTrayIcon::ActivationReason>(),
            QSystemTrayIcon::Trigger);
        // The second click, on a window shown already, changes nothing.
        QVERIFY(!parked());
        QTRY_COMPARE(mappedPanels(), 1);
    }
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
        QVERIFY(QDir(icons.path()).mkpath(QStringLiteral("hicolor/48x48/apps")));
        QVERIFY(QFile::copy(QStringLiteral(":/tray/dorvex-64.png"),
            icons.filePath(QStringLiteral("hicolor/48x48/apps/dorvex.png"))));
        QFile index(icons.filePath(QStringLiteral("hicolor/index.theme")));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nDirectories=48x48/apps\n[48x48/apps]\nSize=48\n");
    }
    // The theme is looked up again whenever its paths change.
    const auto restorePaths
        = qScopeGuard([paths = QIcon::themeSearchPaths()] { QIcon::setThemeSearchPaths(paths); });
    QIcon::setThemeSearchPaths({ icons.path() });
    delete window;
    window = new MainWindow(false);

    QVERIFY(host.start());
    window->showAtStart();
    QTRY_VERIFY(iconShown());
    const TrayHostProcess::Icon icon = host.icon(host.items().value(0));
    QCOMPARE(icon.name, installed ? QStringLiteral("dorvex") : QString());
    if (!installed) {
        for (const int size : { 16, 32, 64 })
            QVERIFY2(icon.pictureSizes.contains(size), qPrintable(QString::number(size)));
    }
}

DORVEX_TEST_MAIN(TestTrayHosts)
#include "tst_trayhosts.moc"
