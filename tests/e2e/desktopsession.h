#ifndef DORVEX_DESKTOPSESSION_H
#define DORVEX_DESKTOPSESSION_H

#include <QDateTime>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

// What a user at the X display does and sees, through xdotool and xwininfo:
// windows found by name or owner, keys typed, clicks at screen positions.
namespace Desktop {

QString run(const QString &program, const QStringList &arguments);

QSize screenSize();
// The window's inner area in screen coordinates, without the frame.
QRect geometry(const QString &window);
QString name(const QString &window);
// Windows mapped on the screen whose title matches the pattern exactly.
QStringList windowsNamed(const QString &title);

// Gives the window the focus, then types into it as the keyboard would.
void activate(const QString &window);
// Key names as xdotool knows them, several separated by spaces.
void key(const QString &keys);
void type(const QString &text);
void clickAt(const QPoint &screenPosition);

// How much redder than green the pixels of a screen area are, summed up:
// positive for a red lamp, negative for a green one, near zero for grey.
qint64 redness(const QRect &screenArea);

} // namespace Desktop

// Where the alarm panel's controls lie inside its window, taken from the
// very form the program builds, laid out the way this display lays it out.
namespace PanelLayout {

QRect rectOf(const char *objectName);
QPoint centreOf(const char *objectName);

} // namespace PanelLayout

// One run of the program as a separate process, started from the test's
// working folder and reading the test's settings store.
class DorvexProcess
{
public:
    enum class Store { Writable, ProtectedByPermissions };

    explicit DorvexProcess(const QStringList &arguments = {}, Store store = Store::Writable);
    ~DorvexProcess();

    DorvexProcess(const DorvexProcess &) = delete;
    DorvexProcess &operator=(const DorvexProcess &) = delete;

    // Variables added to the program's environment; call before start().
    void addEnvironment(const QProcessEnvironment &variables);

    // Starts the program and waits until its alarm panel is on the screen.
    bool start();
    bool isRunning() const;
    // Waits for the process to end; false if it is still running.
    bool waitForEnd(int timeoutMs);
    int exitCode() const;
    bool endedNormally() const;
    qint64 processId() const;
    // What the program has written to standard error so far; it is passed
    // on to the test's log as well.
    QString standardError() const { return standardErrorText; }
    // The instants at which the program looked at its clock, in the
    // program's output `text` (standardError() or a part of it); it tells
    // them with the alarms' debug output on, as a FakedClock's environment has.
    static QList<QDateTime> looksAtTheClock(const QString &text);

    QString panel() const { return panelWindow; }
    QRect panelGeometry() const;
    // Windows of this process that are mapped on the screen.
    QStringList visibleWindows() const;
    // A mapped window of this process that covers the whole screen.
    QString fullScreenWindow() const;
    // A mapped window of this process with this exact title.
    QString windowNamed(const QString &title) const;
    // The titles and sizes of this process's mapped windows, for messages.
    QString describeWindows() const;

    void clickOnPanel(const char *objectName);
    // Types a time into one of the panel's time edits.
    void enterTime(const char *timeEditName, const QTime &time);
    enum class LampColour { Red, Green, Unclear };
    LampColour lampColour(const char *lampName) const;
    // Chooses Exit with its shortcut, as a user at the keyboard does.
    void pressExitShortcut();

    // These check what they wait for with the test macros, so the caller
    // must return when QTest::currentTestFailed() says so.

    // Chooses Exit, answers the question with Y for Yes, and expects the
    // program to end with exit code 0.
    // Yes is answered with its mnemonic, which the interface language sets.
    void exitAnsweringYes(const QString &questionTitle = QStringLiteral("Question"),
        const QString &yesKey = QStringLiteral("y"));
    // Waits for an alarm dialog covering the screen and clicks it away.
    void dismissAlarmDialog(int timeoutMs = 5000);
    // Types alarm 1's time, enables it and expects its lamp to turn green
    // before the alarm is due.
    void armFirstAlarm(const QDateTime &alarmAt);
    // Dismisses the alarm due at `alarmAt`, which must not have come early,
    // and expects the program to carry on.
    void dismissAlarmDueAt(const QDateTime &alarmAt);

private:
    QProcess process;
    QStringList arguments;
    Store store;
    QString panelWindow;
    QString standardErrorText;
};

// The wall clock of the programs a test starts, moved with libfaketime
// through a file the test rewrites; a program reads it again at most once a
// second. The test's own clock stays the real one.
class FakedClock
{
public:
    enum class Monotonic {
        // The program's steady clock moves with its wall clock: a move is
        // time that ran on, and its timers (the minute's re-aim among them)
        // run out at once.
        MovesAlong,
        // Only the wall clock moves, as when it is set: the timers count on
        // in real time.
        RunsOn,
    };

    // The program's wall clock starts at `startUtc`; invalid: at the real time.
    explicit FakedClock(Monotonic monotonic, const QDateTime &startUtc = QDateTime());

    // What a program needs in its environment to run on this clock.
    QProcessEnvironment environment() const;
    void moveBy(qint64 secs);
    // The program's present instant, as the test reckons it.
    QDateTime now() const;

private:
    void writeOffset();

    QTemporaryDir folder;
    Monotonic monotonic;
    qint64 offsetSecs = 0;
};

// The settings store as the program keeps it on disk.
namespace StoredSettings {

QVariant value(const QString &key);
bool contains(const QString &key);
QStringList keys();
void write(const QVariantMap &values);

} // namespace StoredSettings

// The next whole second at least this many seconds ahead.
QDateTime wholeSecondsAhead(int seconds);

#endif
