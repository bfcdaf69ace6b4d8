#include "expirationdialog.h"
#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

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

static WId xdotool(const QStringList &arguments)
{
    return run("xdotool", arguments).toULong();
}

// The window's place and size as the X server has them.
static QRect xGeometry(WId window)
{
    QList<int> values;
    const QString shell
        = run("xdotool", { "getwindowgeometry", "--shell", QString::number(window) });
    for (const QRegularExpressionMatch &value : QRegularExpression("=(\\d+)").globalMatch(shell))
        values.append(value.captured(1).toInt());
    return values.size() > 4 ? QRect(values[1], values[2], values[3], values[4]) : QRect();
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
        QWidget panel;
        panel.setFixedSize(482, 308);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QProcess otherProgram;
        otherProgram.start("xmessage", { "-title", "other program", "work in progress" });
        const WId other = xdotool({ "search", "--sync", "--name", "^other program$" });
        QVERIFY(other != 0);
        const WId before = panelWasActive ? panel.winId() : other;
        xdotool({ "windowactivate", "--sync", QString::number(before) });
        QTRY_COMPARE(QApplication::activeWindow() == &panel, panelWasActive);

        ExpirationDialog alarm(QStringLiteral("wake up"), 1, &panel);
        alarm.show();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE(xGeometry(alarm.winId()), screen);
        QTRY_COMPARE(stacking().value(stacking().size() - 1), alarm.winId());
        QTRY_COMPARE(xdotool({ "getactivewindow" }), alarm.winId());
        const QPoint centre = screen.center();
        xdotool({ "mousemove", QString::number(centre.x()), QString::number(centre.y()), "click",
            "1" });
        QTRY_COMPARE(alarm.result(), int(QDialog::Accepted));

        // Once the window manager has let the alarm go, the focus has settled.
        QTRY_VERIFY(!stacking().contains(alarm.winId()));
        QTRY_COMPARE(xdotool({ "getactivewindow" }), before);
        const QList<WId> stack = stacking();
        QCOMPARE(stack.indexOf(panel.winId()) < stack.indexOf(other), !panelWasActive);
        otherProgram.kill();
        otherProgram.waitForFinished();
    }
};

DORVEX_TEST_MAIN(TestAlarmWindow)
#include "tst_alarmwindow.moc"
