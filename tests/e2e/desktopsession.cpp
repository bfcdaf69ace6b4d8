#include "desktopsession.h"

#include "testenvironment.h"
#include "ui_mainwindow.h"

#include <QGuiApplication>
#include <QImage>
#include <QLayout>
#include <QMainWindow>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

const QString panelTitle = QStringLiteral("Dorvex 1.0.2");
const int toolTimeoutMs = 10000;

// xdotool matches titles as POSIX regular expressions.
QString exactTitlePattern(const QString &title)
{
    QString pattern = QStringLiteral("^");
    for (const QChar c : title) {
        if (QStringLiteral(".[]()*+?{}|^$\\").contains(c))
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    return pattern + QLatin1Char('$');
}

QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString xdotool(const QStringList &arguments)
{
    return Desktop::run(QStringLiteral("xdotool"), arguments);
}

} // namespace

namespace Desktop {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(toolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished();
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QSize screenSize()
{
    const QStringList size = xdotool({ QStringLiteral("getdisplaygeometry") }).split(' ');
    return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
}

QRect geometry(const QString &window)
{
    int x = 0, y = 0, width = 0, height = 0;
    const QString info = run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), window });
    for (const QString &line : lines(info)) {
        const QString field = line.section(QLatin1Char(':'), 0, 0).trimmed();
        const int value = line.section(QLatin1Char(':'), 1).trimmed().toInt();
        if (field == QLatin1String("Absolute upper-left X"))
            x = value;
        else if (field == QLatin1String("Absolute upper-left Y"))
            y = value;
        else if (field == QLatin1String("Width"))
            width = value;
        else if (field == QLatin1String("Height"))
            height = value;
    }
    return QRect(x, y, width, height);
}

QString name(const QString &window)
{
    return xdotool({ QStringLiteral("getwindowname"), window });
}

QStringList windowsNamed(const QString &title)
{
    return lines(xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
        QStringLiteral("--name"), exactTitlePattern(title) }));
}

void activate(const QString &window)
{
    xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), window });
}

void key(const QString &keys)
{
    xdotool(QStringList { QStringLiteral("key") } + keys.split(QLatin1Char(' ')));
}

void type(const QString &text)
{
    xdotool({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text });
}

void clickAt(const QPoint &screenPosition)
{
    // No --sync: it waits for the pointer to move, forever if it is there already.
    xdotool({ QStringLiteral("mousemove"), QString::number(screenPosition.x()),
        QString::number(screenPosition.y()), QStringLiteral("click"), QStringLiteral("1") });
}

qint64 redness(const QRect &screenArea)
{
    const QImage image = QGuiApplication::primaryScreen()
                             ->grabWindow(0, screenArea.x(), screenArea.y(), screenArea.width(),
                                 screenArea.height())
                             .toImage();
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qRed(image.pixel(x, y)) - qGreen(image.pixel(x, y));
    return sum;
}

} // namespace Desktop

namespace PanelLayout {

QRect rectOf(const char *objectName)
{
    QMainWindow window;
    Ui::MainWindow form;
    form.setupUi(&window);
    window.layout()->activate();
    const QWidget *widget = window.findChild<QWidget *>(QLatin1String(objectName));
    Q_ASSERT(widget);
    return QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
}

QPoint centreOf(const char *objectName)
{
    return rectOf(objectName).center();
}

} // namespace PanelLayout

DorvexProcess::DorvexProcess(const QStringList &arguments, Store store)
    : arguments(arguments)
    , store(store)
{
    process.setWorkingDirectory(TestEnvironment::instance().workingFolder());
    // Whatever the program says goes into the test's log.
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QObject::connect(&process, &QProcess::readyReadStandardError, [this] {
        const QByteArray text = process.readAllStandardError();
        standardErrorText += QString::fromLocal8Bit(text);
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    });
}

DorvexProcess::~DorvexProcess()
{
    if (isRunning()) {
        process.kill();
        process.waitForFinished();
    }
}

void DorvexProcess::addEnvironment(const QProcessEnvironment &variables)
{
    QProcessEnvironment environment = process.processEnvironment().isEmpty()
        ? QProcessEnvironment::systemEnvironment()
        : process.processEnvironment();
    environment.insert(variables);
    process.setProcessEnvironment(environment);
}

bool DorvexProcess::start()
{
    const QString program = QStringLiteral(DORVEX_PROGRAM);
    if (store == Store::ProtectedByPermissions && geteuid() == 0) {
        // The superuser writes through any permission; without these
        // capabilities it meets them the way every other user does.
        process.start(QStringLiteral("setpriv"),
            QStringList { QStringLiteral("--bounding-set=-dac_override,-dac_read_search,"
                                         "-fowner"),
                program }
                + arguments);
    } else {
        process.start(program, arguments);
    }
    if (!process.waitForStarted())
        return false;
    for (int attempt = 0; attempt < 100 && panelWindow.isEmpty() && isRunning(); ++attempt) {
        panelWindow = windowNamed(panelTitle);
        if (panelWindow.isEmpty())
            QTest::qWait(100);
    }
    // Lets the window manager settle the frame and the program paint.
    QTest::qWait(300);
    return !panelWindow.isEmpty();
}

QList<QDateTime> DorvexProcess::looksAtTheClock(const QString &text)
{
    static const QRegularExpression lookLine(QStringLiteral("looks at the clock at (\\S+)"));
    QList<QDateTime> looks;
    for (auto match = lookLine.globalMatch(text); match.hasNext();)
        looks << QDateTime::fromString(match.next().captured(1), Qt::ISODateWithMs);
    return looks;
}

bool DorvexProcess::isRunning() const
{
    return process.state() == QProcess::Running;
}

bool DorvexProcess::waitForEnd(int timeoutMs)
{
    if (process.state() == QProcess::NotRunning)
        return true;
    return process.waitForFinished(timeoutMs);
}

int DorvexProcess::exitCode() const
{
    return process.exitCode();
}

qint64 DorvexProcess::processId() const
{
    return process.processId();
}

bool DorvexProcess::endedNormally() const
{
    return process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
}

QRect DorvexProcess::panelGeometry() const
{
    return Desktop::geometry(panelWindow);
}

QStringList DorvexProcess::visibleWindows() const
{
    if (!isRunning())
        return {};
    return lines(xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
        QStringLiteral("--pid"), QString::number(process.processId()) }));
}

QString DorvexProcess::fullScreenWindow() const
{
    const QRect screen(QPoint(0, 0), Desktop::screenSize());
    for (const QString &window : visibleWindows()) {
        if (Desktop::geometry(window) == screen)
            return window;
    }
    return QString();
}

QString DorvexProcess::windowNamed(const QString &title) const
{
    if (!isRunning())
        return QString();
    return lines(xdotool({ QStringLiteral("search"), QStringLiteral("--all"),
                     QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(process.processId()), QStringLiteral("--name"),
                     exactTitlePattern(title) }))
        .value(0);
}

QString DorvexProcess::describeWindows() const
{
    QStringList descriptions;
    for (const QString &window : visibleWindows()) {
        const QRect area = Desktop::geometry(window);
        descriptions << QStringLiteral("\"%1\" %2x%3")
                            .arg(Desktop::name(window))
                            .arg(area.width())
                            .arg(area.height());
    }
    return QStringLiteral("windows on the screen: ") + descriptions.join(QLatin1String(", "));
}

void DorvexProcess::clickOnPanel(const char *objectName)
{
    Desktop::clickAt(panelGeometry().topLeft() + PanelLayout::centreOf(objectName));
}

void DorvexProcess::enterTime(const char *timeEditName, const QTime &time)
{
    // Six digits are a whole time, set as soon as the last one is typed.
    const QRect edit = PanelLayout::rectOf(timeEditName);
    Desktop::clickAt(panelGeometry().topLeft() + QPoint(edit.left() + 8, edit.center().y()));
    Desktop::key(QStringLiteral("Tab shift+Tab"));
    Desktop::type(time.toString(QStringLiteral("hhmmss")));
}

DorvexProcess::LampColour DorvexProcess::lampColour(const char *lampName) const
{
    // A lamp is a 16-pixel disc: a clearly red or green one sums far beyond this.
    const qint64 margin = 2000;
    const qint64 redness
        = Desktop::redness(PanelLayout::rectOf(lampName).translated(panelGeometry().topLeft()));
    if (redness > margin)
        return LampColour::Red;
    if (redness < -margin)
        return LampColour::Green;
    return LampColour::Unclear;
}

void DorvexProcess::pressExitShortcut()
{
    Desktop::activate(panelWindow);
    Desktop::key(QStringLiteral("ctrl+q"));
}

void DorvexProcess::exitAnsweringYes(const QString &questionTitle, const QString &yesKey)
{
    pressExitShortcut();
    QTRY_VERIFY2(!windowNamed(questionTitle).isEmpty(), qPrintable(describeWindows()));
    Desktop::activate(windowNamed(questionTitle));
    Desktop::key(yesKey);
    QVERIFY(waitForEnd(5000));
    QVERIFY(endedNormally());
    QCOMPARE(exitCode(), 0);
}

void DorvexProcess::dismissAlarmDialog(int timeoutMs)
{
    QTRY_VERIFY2_WITH_TIMEOUT(
        !fullScreenWindow().isEmpty(), qPrintable(describeWindows()), timeoutMs);
    Desktop::clickAt(Desktop::geometry(fullScreenWindow()).center());
    QTRY_VERIFY(fullScreenWindow().isEmpty());
}

void DorvexProcess::armFirstAlarm(const QDateTime &alarmAt)
{
    enterTime("timeEditAlarm1", alarmAt.time());
    clickOnPanel("alarm1EnableCheckBox");
    QTRY_VERIFY(lampColour("alarm1LedLabel") == LampColour::Green);
    QVERIFY2(QDateTime::currentDateTime() < alarmAt, "setting the alarm took too long");
}

void DorvexProcess::dismissAlarmDueAt(const QDateTime &alarmAt)
{
    dismissAlarmDialog(15000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(QDateTime::currentDateTime() >= alarmAt);
    QTest::qWait(500);
    QVERIFY(isRunning());
}

FakedClock::FakedClock(Monotonic monotonic, const QDateTime &startUtc)
    : monotonic(monotonic)
    , offsetSecs(startUtc.isValid() ? QDateTime::currentDateTimeUtc().secsTo(startUtc) : 0)
{
    writeOffset();
}

QProcessEnvironment FakedClock::environment() const
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAKETIME_LIBRARY));
    environment.insert(
        QStringLiteral("FAKETIME_TIMESTAMP_FILE"), folder.filePath(QStringLiteral("offset")));
    environment.insert(QStringLiteral("FAKETIME_CACHE_DURATION"), QStringLiteral("1"));
    environment.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"),
        monotonic == Monotonic::RunsOn ? QStringLiteral("1") : QStringLiteral("0"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("dorvex.alarms=true"));
    return environment;
}

void FakedClock::moveBy(qint64 secs)
{
    offsetSecs += secs;
    writeOffset();
}

QDateTime FakedClock::now() const
{
    return QDateTime::currentDateTimeUtc().addSecs(offsetSecs);
}

void FakedClock::writeOffset()
{
    QFile file(folder.filePath(QStringLiteral("offset")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(offsetSecs < 0 ? "" : "+") + QByteArray::number(offsetSecs) + '\n');
}

namespace StoredSettings {

namespace {

QString fileName()
{
    return TestEnvironment::instance().settingsFile();
}

} // namespace

QVariant value(const QString &key)
{
    return QSettings(fileName(), QSettings::IniFormat).value(key);
}

bool contains(const QString &key)
{
    return QSettings(fileName(), QSettings::IniFormat).contains(key);
}

QStringList keys()
{
    return QSettings(fileName(), QSettings::IniFormat).allKeys();
}

void write(const QVariantMap &values)
{
    QSettings settings(fileName(), QSettings::IniFormat);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        settings.setValue(it.key(), it.value());
}

} // namespace StoredSettings

QDateTime wholeSecondsAhead(int seconds)
{
    const QDateTime ahead = QDateTime::currentDateTime().addSecs(seconds + 1);
    return QDateTime(
        ahead.date(), QTime(ahead.time().hour(), ahead.time().minute(), ahead.time().second()));
}
