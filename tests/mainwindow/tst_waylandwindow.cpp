#include "expirationdialog.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "testenvironment.h"
#include "trayhostprocess.h"

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QWindow>

// The program's windows on a headless Wayland compositor: what is mapped and
// at which size. Wayland lets no program place, raise or keep a window on
// top, and activates one only where the compositor offers it, so none of
// that is expected; but nothing may make the toolkit warn either. The
// harness runs this once with a StatusNotifier host and once without a tray.
namespace {

bool mapped(const QWidget *widget)
{
    return widget->windowHandle() && widget->windowHandle()->isExposed();
}

bool trayInSession()
{
    return qEnvironmentVariableIntValue("DORVEX_STATUS_NOTIFIER_HOST") == 1;
}

} // namespace

class TestWaylandWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void mainWindowIsMappedAtItsFixedSize();
    void alarmDialogCoversTheScreen();
    void settingsAndHelpAreMapped_data();
    void settingsAndHelpAreMapped();
    void trayThroughStatusNotifierOrNone();

private:
    bool showWindow();

    MainWindow *window = nullptr;
};

void TestWaylandWindow::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
}

void TestWaylandWindow::init()
{
    // Whatever the toolkit warns about would be printed at every start.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    TestEnvironment::instance().reset();
    window = new MainWindow(false);
}

void TestWaylandWindow::cleanup()
{
    delete window;
    window = nullptr;
}

// Shown once the session bus has told whether a tray is there.
bool TestWaylandWindow::showWindow()
{
    window->showAtStart();
    return QTest::qWaitFor([this] { return mapped(window); });
}

void TestWaylandWindow::mainWindowIsMappedAtItsFixedSize()
{
    QVERIFY(showWindow());
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QTRY_COMPARE(window->windowHandle()->size(), window->minimumSize());
    QVERIFY(!window->windowHandle()->size().isEmpty());
}

void TestWaylandWindow::alarmDialogCoversTheScreen()
{
    QVERIFY(showWindow());
    ExpirationDialog dialog(QStringLiteral("Tea"), 1, window);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.isFullScreen());
    QTRY_COMPARE(dialog.windowHandle()->size(), QGuiApplication::primaryScreen()->size());
    QTest::mouseClick(&dialog, Qt::LeftButton);
    QTRY_VERIFY(!mapped(&dialog));
}

void TestWaylandWindow::settingsAndHelpAreMapped_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("settings") << "action_Settings";
    QTest::newRow("help") << "action_Help";
}

void TestWaylandWindow::settingsAndHelpAreMapped()
{
    QFETCH(QString, action);
    QVERIFY(showWindow());
    bool wasMapped = false;
    QSize size;
    ModalAnswerer look([&](QWidget *dialog) {
        wasMapped = QTest::qWaitForWindowExposed(dialog);
        size = dialog->windowHandle()->size();
        qobject_cast<QDialog *>(dialog)->reject();
    });
    window->findChild<QAction *>(action)->trigger();
    QVERIFY(look.answered());
    QVERIFY(wasMapped);
    QVERIFY(!size.isEmpty());
}

void TestWaylandWindow::trayThroughStatusNotifierOrNone()
{
    QVERIFY(showWindow());
    auto *toTray = window->findChild<QPushButton *>(QStringLiteral("toTrayPushButton"));
    if (!trayInSession()) {
        QVERIFY(window->findChildren<QSystemTrayIcon *>().isEmpty());
        QVERIFY(!toTray->isEnabled());
        return;
    }
    const TrayHostProcess panel(TrayHostProcess::Kind::StatusNotifier);
    QTRY_COMPARE(panel.items().size(), 1);
    QVERIFY(toTray->isEnabled());
    toTray->click();
    QTRY_VERIFY(!mapped(window));

    auto *icon = window->findChild<QSystemTrayIcon *>();
    QSignalSpy clicks(icon, &QSystemTrayIcon::activated);
    panel.activate(panel.items().value(0));
    QTRY_COMPARE(clicks.count(), 1);
    QTRY_VERIFY(mapped(window));
    QCOMPARE(window->windowHandle()->size(), window->minimumSize());
}

DORVEX_TEST_MAIN(TestWaylandWindow)
#include "tst_waylandwindow.moc"
