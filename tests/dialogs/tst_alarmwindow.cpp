#include "expirationdialog.h"
#include "modalanswerer.h"
#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

// The alarm under a real window manager, the one the harness runs (openbox,
// or GNOME Shell on X11): the window covers the whole primary screen, above
// any panel or top bar, and once it is clicked away the person is back in
// the window they were working in, which the main window does not cover.
class TestAlarmWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void backWhereTheyWere_data();
    void backWhereTheyWere();
};

static QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// The window manager's managed windows, bottom of the stack first.
static QList<WId> stacking()
{
    QList<WId> windows;
    const QString list = run("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" });
    for (const QRegularExpressionMatch &id : QRegularExpression("0x[0-9a-f]+").globalMatch(list))
        windows.append(id.captured().toULong(nullptr, 16));
    return windows;
}

static WId activeWindow()
{
    return run("xdotool", { "getactivewindow" }).toULong();
}

// The window's place and size as the X server has them.
static QRect xGeometry(WId window)
{
    const auto match = QRegularExpression(
        "(\\d+),(\\d+).*Geometry: (\\d+)x(\\d+)", QRegularExpression::DotMatchesEverythingOption)
                           .match(run("xdotool", { "getwindowgeometry", QString::number(window) }));
    return QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
        match.captured(4).toInt());
}

void TestAlarmWindow::init()
{
    TestEnvironment::instance().reset();
}

void TestAlarmWindow::backWhereTheyWere_data()
{
    QTest::addColumn<bool>("panelWasActive");
    QTest::newRow("another program's window was active") << false;
    QTest::newRow("the main window was active") << true;
}

void TestAlarmWindow::backWhereTheyWere()
{
    QFETCH(bool, panelWasActive);

    QWidget panel;
    panel.setFixedSize(482, 308);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QProcess otherProgram;
    otherProgram.start("xmessage", { "-title", "other program", "work in progress" });
    const WId other = run("xdotool", { "search", "--sync", "--name", "^other program$" }).toULong();
    QVERIFY(other != 0);
    const WId before = panelWasActive ? panel.winId() : other;
    run("xdotool", { "windowactivate", "--sync", QString::number(before) });
    QTRY_COMPARE(QApplication::activeWindow() == &panel, panelWasActive);

    ExpirationDialog alarm(QStringLiteral("wake up"), 1, &panel);
    const WId alarmWindow = alarm.winId();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QRect covered;
    WId topmost = 0;
    WId activeDuringRing = 0;
    ModalAnswerer answerer([&](QWidget *) {
        // What the window manager made of the alarm once it has settled,
        // and a click in any case, so that a failure ends the dialog too.
        const bool settled = QTest::qWaitFor([&] {
            covered = xGeometry(alarmWindow);
            topmost = stacking().value(stacking().size() - 1);
            activeDuringRing = activeWindow();
            return covered == screen && topmost == alarmWindow && activeDuringRing == alarmWindow;
        });
        if (!settled)
            qWarning("the alarm is not yet full-screen, on top and active");
        const QPoint centre = screen.center();
        run("xdotool",
            { "mousemove", QString::number(centre.x()), QString::number(centre.y()), "click",
                "1" });
    });
    // Ends the dialog should the click not reach it.
    QTimer::singleShot(30000, &alarm, &QDialog::reject);
    QCOMPARE(alarm.exec(), int(QDialog::Accepted));
    QCOMPARE(covered, screen);
    QCOMPARE(topmost, alarmWindow);
    QCOMPARE(activeDuringRing, alarmWindow);

    // Once the window manager has let the alarm go, the focus has settled.
    QTRY_VERIFY(!stacking().contains(alarmWindow));
    QTRY_VERIFY(activeWindow() != 0);
    QCOMPARE(activeWindow(), before);
    const QList<WId> stack = stacking();
    QCOMPARE(stack.indexOf(panel.winId()) < stack.indexOf(other), !panelWasActive);
    otherProgram.kill();
    otherProgram.waitForFinished();
}

DORVEX_TEST_MAIN(TestAlarmWindow)
#include "tst_alarmwindow.moc"
