#include "terminationsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Where the handler writes; one writer per process, as the handlers are.
int handlerWriteEnd = -1;

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(handlerWriteEnd < 0);
    int ends[2];
    // Non-blocking, so that a handler never waits on a full socket: the
    // program is ending anyway when signals pile up that far.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0) {
        qWarning("Cannot catch termination signals: %s", strerror(errno));
        return;
    }
    handlerWriteEnd = ends[0];
    readEnd = ends[1];
    notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : caughtSignals())
        sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (readEnd < 0)
        return;
    for (const int signalNumber : caughtSignals())
        std::signal(signalNumber, SIG_DFL);
    ::close(handlerWriteEnd);
    ::close(readEnd);
    handlerWriteEnd = -1;
}

QList<int> TerminationSignals::caughtSignals()
{
    return { SIGTERM, SIGINT, SIGHUP };
}

void TerminationSignals::handle(int signalNumber)
{
    // write() may change errno under the code the signal interrupted.
    const int interruptedErrno = errno;
    const char number = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(handlerWriteEnd, &number, 1);
    errno = interruptedErrno;
}

void TerminationSignals::readPending()
{
    char numbers[16];
    const ssize_t count = ::read(readEnd, numbers, sizeof numbers);
    for (ssize_t index = 0; index < count; ++index)
        emit received(int(numbers[index]));
}
