#include "expirationdialog.h"
#include "mainwindow.h"
#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

// On a real X server whose one screen the harness splits into two RandR
// monitors, the primary one on the right: where the main window opens, what
// the alarm covers, and where the window goes when its monitor is unplugged.
class TestTwoMonitors : public QObject
{
    Q_OBJECT

private slots:
    void primaryMonitorOnTheRight();
};

// A window's top-left corner as the X server has it, not as Qt asked for it.
static QPoint xPosition(const QString &title)
{
    QProcess xdotool;
    xdotool.start("xdotool", { "search", "--onlyvisible", "--name", title, "getwindowgeometry" });
    xdotool.waitForFinished(30000);
    const auto match = QRegularExpression("Position: (-?\\d+),(-?\\d+)")
                           .match(QString::fromLatin1(xdotool.readAllStandardOutput()));
    return match.hasMatch() ? QPoint(match.captured(1).toInt(), match.captured(2).toInt())
                            : QPoint(-1, -1);
}

void TestTwoMonitors::primaryMonitorOnTheRight()
{
    QCOMPARE(QGuiApplication::screens().size(), 2);
    const QRect right = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(right.x() > 0);

    // The window opens in the middle of the primary monitor, whether the
    // window manager puts its frame or its client area there.
    MainWindow window(false);
    window.showAtStart();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint centred = right.center() - QPoint(window.width() / 2, window.height() / 2);
    QTRY_VERIFY((xPosition(window.windowTitle()) - centred).manhattanLength() < 60);

    {
        ExpirationDialog alarm(QStringLiteral("two monitors"), 1, &window);
        alarm.setWindowTitle(QStringLiteral("two monitors alarm"));
        alarm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&alarm));
        QTRY_COMPARE(xPosition(alarm.windowTitle()), right.topLeft());
        QTRY_COMPARE(alarm.frameGeometry(), right);
    }

    // Unplugged, it gives the window back whole to the monitor left; the
    // window manager alone would leave only a corner there.
    QCOMPARE(QProcess::execute("xrandr", { "--delmonitor", "right" }), 0);
    QTRY_COMPARE(QGuiApplication::screens().size(), 1);
    const QRect left = QGuiApplication::primaryScreen()->geometry();
    QTRY_VERIFY(left.contains(QRect(xPosition(window.windowTitle()), window.size())));
}

DORVEX_TEST_MAIN(TestTwoMonitors)
#include "tst_twomonitors.moc"
