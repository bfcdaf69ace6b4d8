#include "mainwindow.h"
#include "fakescreenservices.h"
#include "modalanswerer.h"
#include "testenvironment.h"
#include "trayhostprocess.h"

#include <QAction>
#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QToolButton>
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

} // namespace

class TestWaylandWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowsAreMappedAtTheirSizes_data();
    void windowsAreMappedAtTheirSizes();
    void trayThroughStatusNotifierOrNone();
    void programStartsWithoutAWord();

private:
    MainWindow *window = nullptr;
    // A desktop's screen saver, which keeps the screen on while the alarm
    // shows; without one the program would rightly say so.
    FakeInhibitingService screenSaver { QStringLiteral("org.freedesktop.ScreenSaver") };
};

void TestWaylandWindow::init()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
    // Whatever the toolkit warns about here would be printed at every start.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    TestEnvironment::instance().reset();
    QVERIFY(screenSaver.start(
        QStringLiteral("/org/freedesktop/ScreenSaver"), FakeInhibitingService::Answer::AtOnce));
    // With the test buttons, which show an alarm at once.
    window = new MainWindow(true);
    window->showAtStart();
    // Shown at once, whatever the session bus has yet to tell of a tray.
    QTRY_VERIFY(mapped(window));
    QTRY_COMPARE(window->windowHandle()->size(), window->minimumSize());
    QCOMPARE(window->minimumSize(), window->maximumSize());
}

void TestWaylandWindow::cleanup()
{
    delete window;
    screenSaver.stop();
}

void TestWaylandWindow::windowsAreMappedAtTheirSizes_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("alarm") << "alarm1DebugToolButton" << true;
    QTest::newRow("settings") << "action_Settings" << false;
    QTest::newRow("help") << "action_Help" << false;
}

void TestWaylandWindow::windowsAreMappedAtTheirSizes()
{
    QFETCH(QString, opener);
    QFETCH(bool, fullScreen);
    bool wasMapped = false;
    QSize size;
    ModalAnswerer look([&](QWidget *dialog) {
        wasMapped = QTest::qWaitFor([dialog] { return mapped(dialog); });
        size = dialog->windowHandle()->size();
        qobject_cast<QDialog *>(dialog)->reject();
    });
    if (auto *button = window->findChild<QToolButton *>(opener))
        button->click();
    else
        window->findChild<QAction *>(opener)->trigger();
    QVERIFY(look.answered());
    QVERIFY(wasMapped);
    if (fullScreen)
        QCOMPARE(size, QGuiApplication::primaryScreen()->size());
    else
        QVERIFY(!size.isEmpty());
}

void TestWaylandWindow::trayThroughStatusNotifierOrNone()
{
    auto *toTray = window->findChild<QPushButton *>(QStringLiteral("toTrayPushButton"));
    if (qEnvironmentVariableIntValue("DORVEX_STATUS_NOTIFIER_HOST") != 1) {
        QVERIFY(!window->findChild<QSystemTrayIcon *>());
        QVERIFY(!toTray->isEnabled());
        return;
    }
    // The icon comes once the window has drawn its first frame and the bus
    // has told of the host, whichever is later.
    QTRY_VERIFY(window->findChild<QSystemTrayIcon *>());
    auto *icon = window->findChild<QSystemTrayIcon *>();
    const TrayHostProcess panel(TrayHostProcess::Kind::StatusNotifier);
    QTRY_COMPARE(panel.items().size(), 1);
    toTray->click();
    QTRY_VERIFY(!mapped(window));

    QSignalSpy clicks(icon, &QSystemTrayIcon::activated);
    panel.activate(panel.items().value(0));
    QTRY_COMPARE(clicks.count(), 1);
    QTRY_VERIFY(mapped(window));
    QCOMPARE(window->windowHandle()->size(), window->minimumSize());
}

void TestWaylandWindow::programStartsWithoutAWord()
{
    if (qEnvironmentVariableIntValue("DORVEX_STATUS_NOTIFIER_HOST") != 1)
        QSKIP("the program's tray icon tells when it is up");
    const TrayHostProcess panel(TrayHostProcess::Kind::StatusNotifier);
    QTRY_COMPARE(panel.items().size(), 1);
    QProcess program;
    program.setWorkingDirectory(TestEnvironment::instance().workingFolder());
    program.start(QStringLiteral(DORVEX_PROGRAM), QStringList());
    // Up, shown and in the tray: its own icon has joined this test's.
    QTRY_COMPARE(panel.items().size(), 2);
    program.terminate();
    QVERIFY(program.waitForFinished());
    QCOMPARE(program.readAllStandardError(), QByteArray());
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
}

DORVEX_TEST_MAIN(TestWaylandWindow)
#include "tst_waylandwindow.moc"
