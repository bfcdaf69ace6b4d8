#include "expirationdialog.h"
#include "modalanswerer.h"
#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

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

// The alarm under the harness's window manager (openbox, or GNOME Shell on X11)
// covers the primary screen above any panel, and once clicked away the person
// is back in the window they were working in, not covered by the main window.
class TestAlarmWindow : public QObject
{
    Q_OBJECT

private slots:
    void backWhereTheyWere_data()
    {
        QTest::addColumn<bool>("panelWasActive");
        QTest::newRow("another program's window was active") << false;
        QTest::newRow("the main window was active") << true;
    }
    void backWhereTheyWere()
    {
        QFETCH(bool, panelWasActive);
        TestEnvironment::instance().reset();
        QWidget panel;
        panel.setFixedSize(482, 308);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QProcess otherProgram;
        otherProgram.start("xmessage", { "-title", "other program", "work in progress" });
        const WId other
            = run("xdotool", { "search", "--sync", "--name", "^other program$" }).toULong();
        QVERIFY(other != 0);
        const WId before = panelWasActive ? panel.winId() : other;
        run("xdotool", { "windowactivate", "--sync", QString::number(before) });
        QTRY_COMPARE(QApplication::activeWindow() == &panel, panelWasActive);

        ExpirationDialog alarm(QStringLiteral("wake up"), 1, &panel);
        const WId alarmWindow = alarm.winId();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QRect covered;
        WId topmost = 0, activeDuringRing = 0;
        // Once the window manager has settled the alarm, or in any case, a click ends it.
        ModalAnswerer answerer([&](QWidget *) {
            (void)QTest::qWaitFor([&] {
                covered = xGeometry(alarmWindow);
                topmost = stacking().value(stacking().size() - 1);
                activeDuringRing = activeWindow();
                return covered == screen && topmost == alarmWindow
                    && activeDuringRing == alarmWindow;
            });
            const QPoint centre = screen.center();
            run("xdotool",
                { "mousemove", QString::number(centre.x()), QString::number(centre.y()), "click",
                    "1" });
        });
        QTimer::singleShot(30000, &alarm, &QDialog::reject); // should the click not reach it
        QCOMPARE(alarm.exec(), int(QDialog::Accepted));
        QCOMPARE(covered, screen);
        QCOMPARE(topmost, alarmWindow);
        QCOMPARE(activeDuringRing, alarmWindow);

        // Once the window manager has let the alarm go, the focus has settled.
        QTRY_VERIFY(!stacking().contains(alarmWindow));
        QTRY_COMPARE(activeWindow(), before);
        const QList<WId> stack = stacking();
        QCOMPARE(stack.indexOf(panel.winId()) < stack.indexOf(other), !panelWasActive);
        otherProgram.kill();
        otherProgram.waitForFinished();
    }
};

DORVEX_TEST_MAIN(TestAlarmWindow)
#include "tst_alarmwindow.moc"
