#include "expirationdialog.h"
#include "mainwindow.h"
#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSystemTrayIcon>

// On a real X server whose one screen the harness splits into two RandR
// monitors, the primary one on the right: where the main window opens, what
// the alarm covers, and where the window goes when its monitor is unplugged.
namespace {

const QString primaryName = QStringLiteral("right");

// The window's top-left corner as the X server has it, not as Qt asked for it.
QPoint xPosition(const QString &title)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
        { "search", "--onlyvisible", "--name", title, "getwindowgeometry" });
    xdotool.waitForFinished(30000);
    const auto match = QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+)"))
                           .match(QString::fromLatin1(xdotool.readAllStandardOutput()));
    return match.hasMatch() ? QPoint(match.captured(1).toInt(), match.captured(2).toInt())
                            : QPoint(-1, -1);
}

bool xrandr(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xrandr"), arguments) == 0;
}

} // namespace

class TestTwoMonitors : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowOpensCentredOnThePrimaryMonitor();
    void alarmCoversExactlyThePrimaryMonitor();
    void unpluggedPrimaryBringsTheWindowBack_data();
    void unpluggedPrimaryBringsTheWindowBack();
    void cleanupTestCase();

private:
    void plugInThePrimaryMonitor();
    QRect primary() const { return QGuiApplication::primaryScreen()->geometry(); }
    QRect primaryAtStart;
};

void TestTwoMonitors::initTestCase()
{
    QCOMPARE(QGuiApplication::screens().size(), 2);
    QCOMPARE(QGuiApplication::primaryScreen()->name(), primaryName);
    QVERIFY(primary().x() > 0);
    primaryAtStart = primary();
}

void TestTwoMonitors::windowOpensCentredOnThePrimaryMonitor()
{
    MainWindow window(false);
    window.showAtStart();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The window manager may keep the frame where it was asked or put the
    // client area there; either way the window sits in the middle.
    const QPoint shown = xPosition(window.windowTitle());
    const QPoint centred = primary().center() - QPoint(window.width() / 2, window.height() / 2);
    QVERIFY2((shown - centred).manhattanLength() < 60,
        qPrintable(QStringLiteral("at %1,%2").arg(shown.x()).arg(shown.y())));
}

void TestTwoMonitors::alarmCoversExactlyThePrimaryMonitor()
{
    ExpirationDialog dialog(QStringLiteral("two monitors"), 1);
    dialog.setWindowTitle(QStringLiteral("two monitors alarm"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE(xPosition(dialog.windowTitle()), primary().topLeft());
    QTRY_COMPARE(dialog.frameGeometry(), primary());
}

void TestTwoMonitors::unpluggedPrimaryBringsTheWindowBack_data()
{
    QTest::addColumn<bool>("parked");
    QTest::newRow("shown") << false;
    QTest::newRow("parked in the tray") << true;
}

void TestTwoMonitors::unpluggedPrimaryBringsTheWindowBack()
{
    QFETCH(bool, parked);
    plugInThePrimaryMonitor();
    MainWindow window(false);
    window.showAtStart();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(xPosition(window.windowTitle()).x() >= primary().x());
    if (parked) {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("no system tray in this session");
        window.findChild<QPushButton *>("toTrayPushButton")->click();
        QTRY_VERIFY(!window.isVisible());
    }

    QVERIFY(xrandr({ "--delmonitor", primaryName }));
    QTRY_COMPARE(QGuiApplication::screens().size(), 1);
    if (parked)
        window.on_action_RestoreWindow_triggered();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect remaining = QGuiApplication::screens().constFirst()->geometry();
    QTRY_VERIFY2(remaining.contains(xPosition(window.windowTitle())),
        qPrintable(QStringLiteral("at %1,%2")
                       .arg(xPosition(window.windowTitle()).x())
                       .arg(xPosition(window.windowTitle()).y())));
}

void TestTwoMonitors::cleanupTestCase()
{
    plugInThePrimaryMonitor();
}

// Plugged in again, as the harness had it.
void TestTwoMonitors::plugInThePrimaryMonitor()
{
    if (QGuiApplication::screens().size() == 1) {
        xrandr({ "--setmonitor", "*" + primaryName,
            QStringLiteral("%1/508x%2/285+%3+%4")
                .arg(primaryAtStart.width())
                .arg(primaryAtStart.height())
                .arg(primaryAtStart.x())
                .arg(primaryAtStart.y()),
            "none" });
    }
    QTRY_COMPARE(QGuiApplication::screens().size(), 2);
}

DORVEX_TEST_MAIN(TestTwoMonitors)
#include "tst_twomonitors.moc"
