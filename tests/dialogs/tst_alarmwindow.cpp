#include "expirationdialog.h"
#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

static QString run(QStringList command)
{
    QProcess process;
    process.start(command.takeFirst(), command);
    process.waitForFinished(30000);
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// The window manager's managed windows, bottom of the stack first.
static QList<WId> stacking()
{
    QList<WId> windows;
    const QString list = run({ "xprop", "-root", "_NET_CLIENT_LIST_STACKING" });
    for (const QRegularExpressionMatch &id : QRegularExpression("0x[0-9a-f]+").globalMatch(list))
        windows.append(id.captured().toULong(nullptr, 16));
    return windows;
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
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QProcess otherProgram;
        otherProgram.start("xmessage", { "-title", "other program", "work in progress" });
        const WId other
            = run({ "xdotool", "search", "--sync", "--name", "^other program$" }).toULong();
        QVERIFY(other != 0);
        const QString before = QString::number(panelWasActive ? panel.winId() : other);
        run({ "xdotool", "windowactivate", "--sync", before });
        QTRY_COMPARE(QApplication::activeWindow() == &panel, panelWasActive);

        ExpirationDialog alarm(QStringLiteral("wake up"), 1, &panel);
        alarm.show();
        const QString id = QString::number(alarm.winId());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QString covering = QString::asprintf("X=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d", screen.x(),
            screen.y(), screen.width(), screen.height());
        QTRY_COMPARE(
            run({ "xdotool", "getwindowgeometry", "--shell", id }).section('\n', 1, 4), covering);
        QTRY_COMPARE(stacking().value(stacking().size() - 1), alarm.winId());
        QTRY_COMPARE(run({ "xdotool", "getactivewindow" }), id);
        run({ "xdotool", "mousemove", "--window", id, "10", "10", "click", "1" });
        QTRY_COMPARE(alarm.result(), int(QDialog::Accepted));

        // Once the window manager has let the alarm go, the focus has settled.
        QTRY_VERIFY(!stacking().contains(alarm.winId()));
        QTRY_COMPARE(run({ "xdotool", "getactivewindow" }), before);
        const QList<WId> stack = stacking();
        QCOMPARE(stack.indexOf(panel.winId()) < stack.indexOf(other), !panelWasActive);
        otherProgram.kill();
        otherProgram.waitForFinished();
    }
};

DORVEX_TEST_MAIN(TestAlarmWindow)
#include "tst_alarmwindow.moc"
