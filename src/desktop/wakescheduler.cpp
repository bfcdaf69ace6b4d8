#include "wakescheduler.h"

#include "childprocess.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <sys/capability.h>
#include <sys/prctl.h>

static const char helperName[] = "dorvex-wake";
// The helper's answer when it was installed without its capability, with
// the exit code it ends with then.
static const char noCapabilityAnswer[] = "no-capability";
static const int noCapabilityExitCode = 3;
// The longest answer the helper gives is "armed " and 20 digits.
static const qint64 longestAnswer = 64;
// A helper that does not end within this time after its input closed is
// killed; killing it takes its wake-up away as well.
static const int helperGraceMs = 2000;

WakeScheduler::WakeScheduler(QObject *parent)
    : WakeScheduler(helperBesideProgram(), parent)
{
}

WakeScheduler::WakeScheduler(const QString &helperPath, QObject *parent)
    : QObject(parent)
    , helperPath(helperPath)
{
}

WakeScheduler::~WakeScheduler()
{
    stopHelper();
}

QString WakeScheduler::helperBesideProgram()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(helperName);
}

bool WakeScheduler::capabilityAvailable(const QString &helperPath)
{
    // A process that may gain no privileges, or whose bounding set lacks the
    // capability, starts the helper without it whatever the file says.
    if (prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0) != 0 || cap_get_bound(CAP_WAKE_ALARM) != 1)
        return false;
    cap_t fileCaps = cap_get_file(QFile::encodeName(helperPath).constData());
    if (fileCaps == nullptr)
        return false;
    // The helper does not raise the capability itself, so it must come
    // effective as well as permitted.
    cap_flag_value_t permitted = CAP_CLEAR;
    cap_flag_value_t effective = CAP_CLEAR;
    const bool read = cap_get_flag(fileCaps, CAP_WAKE_ALARM, CAP_PERMITTED, &permitted) == 0
        && cap_get_flag(fileCaps, CAP_WAKE_ALARM, CAP_EFFECTIVE, &effective) == 0;
    cap_free(fileCaps);
    return read && permitted == CAP_SET && effective == CAP_SET;
}

void WakeScheduler::setEnabled(bool on)
{
    enabled = on;
    if (on && !helper)
        startHelper();
    if (!on) {
        stopHelper();
        setArmedAt(QDateTime());
        setState(State::Off);
    }
}

void WakeScheduler::setNextRing(const QDateTime &ring)
{
    wanted = ring.isValid() ? ring.addSecs(-lead.count()).toUTC() : QDateTime();
    if (helper)
        sendWanted();
}

void WakeScheduler::startHelper()
{
    helper = new QProcess(this);
    helper->setProgram(helperPath);
    // The helper says why it failed on its error output; let it be seen.
    helper->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(helper, &QProcess::started, this, &WakeScheduler::sendWanted);
    connect(helper, &QProcess::readyReadStandardOutput, this, &WakeScheduler::readAnswers);
    connect(helper, &QProcess::finished, this, &WakeScheduler::helperEnded);
    connect(helper, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail(State::Failed);
    });
    lastSent.clear();
    unanswered.clear();
    setState(State::Starting);
    helper->start();
}

void WakeScheduler::stopHelper()
{
    if (!helper)
        return;
    QProcess *leaving = helper;
    helper = nullptr;
    leaving->disconnect(this);
    // The helper disarms and ends when its input closes.
    ChildProcess::letGo(leaving, helperGraceMs);
}

void WakeScheduler::sendWanted()
{
    if (!helper || helper->state() != QProcess::Running)
        return;
    const QByteArray line
        = wanted.isValid() ? QByteArray::number(wanted.toSecsSinceEpoch()) : QByteArray("off");
    if (line == lastSent)
        return;
    lastSent = line;
    unanswered.append(line);
    helper->write(line + '\n');
}

void WakeScheduler::readAnswers()
{
    while (helper && helper->canReadLine()) {
        const QByteArray answer = helper->readLine().chopped(1);
        if (answer == noCapabilityAnswer) {
            fail(State::NoCapability);
            return;
        }
        if (unanswered.isEmpty()) {
            fail(State::Failed);
            return;
        }
        const QByteArray asked = unanswered.takeFirst();
        const bool off = asked == "off";
        if (answer != (off ? asked : "armed " + asked)) {
            fail(State::Failed);
            return;
        }
        setArmedAt(off ? QDateTime() : QDateTime::fromSecsSinceEpoch(asked.toLongLong(), Qt::UTC));
        setState(State::Working);
    }
    if (helper && helper->bytesAvailable() > longestAnswer)
        fail(State::Failed);
}

void WakeScheduler::helperEnded(int exitCode, QProcess::ExitStatus status)
{
    readAnswers();
    if (!helper)
        return;
    const bool noCapability = status == QProcess::NormalExit && exitCode == noCapabilityExitCode;
    fail(noCapability ? State::NoCapability : State::Failed);
}

void WakeScheduler::fail(State state)
{
    if (helper) {
        helper->disconnect(this);
        // Killed, the helper's wake-up goes with it.
        helper->kill();
        helper->setParent(nullptr);
        connect(helper, &QProcess::finished, helper, &QObject::deleteLater);
        if (helper->state() == QProcess::NotRunning)
            helper->deleteLater();
        helper = nullptr;
    }
    setArmedAt(QDateTime());
    setState(state);
}

void WakeScheduler::setState(State state)
{
    if (state == currentState)
        return;
    currentState = state;
    emit stateChanged(state);
}

void WakeScheduler::setArmedAt(const QDateTime &wakeTime)
{
    if (wakeTime == armedAt)
        return;
    armedAt = wakeTime;
    emit wakeTimeChanged(wakeTime);
}
