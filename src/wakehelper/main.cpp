// dorvex-wake: arms the computer's wake-up from sleep for the next alarm.
//
// Arming a wake-up needs the capability CAP_WAKE_ALARM, which a desktop
// session does not have; this program is installed with that one capability
// as a file capability, so it does as little as it can with it: it opens one
// wake-up timer on the real-time clock at start, gives up every other
// privilege, and then only aims that timer at what its standard input asks
// for.
//
// Input, one line each (at most 32 bytes before the newline):
//   <seconds since the epoch, UTC>  arms the wake-up at that instant; a time
//                                    more than a day past or more than eight
//                                    days ahead is refused
//   off                              disarms it
// Answer, one line for each line read:
//   armed <seconds>   |   off   |   refused (the timer stays as it was)
// At the end of the input (the program that started it ended or was killed)
// it disarms and exits 0: a wake-up never outlives the one who asked for it.
// Without the capability it answers "no-capability" and exits 3 at once.
// It takes no arguments, reads no files and no environment.

#include <sys/capability.h>
#include <sys/prctl.h>
#include <sys/timerfd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

enum ExitCode { Finished = 0, SystemFailed = 1, ArgumentsGiven = 2, NoCapability = 3 };

constexpr size_t longestLine = 32;
constexpr size_t mostDigits = 20;
constexpr long long day = 24 * 60 * 60;
constexpr long long earliestBeforeNow = day;
constexpr long long latestAfterNow = 8 * day;

struct Line
{
    char text[longestLine];
    size_t length = 0;
    bool tooLong = false;
};

// Reads up to the next newline; false at the end of the input, where an
// unfinished last line is dropped with it.
bool readLine(Line &line)
{
    line.length = 0;
    line.tooLong = false;
    for (;;) {
        const int c = std::getchar();
        if (c == EOF)
            return false;
        if (c == '\n')
            return true;
        if (line.length < longestLine)
            line.text[line.length++] = static_cast<char>(c);
        else
            line.tooLong = true;
    }
}

bool isOff(const Line &line)
{
    return line.length == 3 && std::memcmp(line.text, "off", 3) == 0;
}

// A wake-up time: digits only, and an instant near enough to now that it can
// only be an alarm's.
bool parseWakeTime(const Line &line, long long &seconds)
{
    if (line.length == 0 || line.length > mostDigits)
        return false;
    constexpr unsigned long long largest = LLONG_MAX;
    unsigned long long value = 0;
    for (size_t i = 0; i < line.length; ++i) {
        const char c = line.text[i];
        if (c < '0' || c > '9')
            return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (largest - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    timespec now {};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0)
        return false;
    const long long time = static_cast<long long>(value);
    if (time < now.tv_sec - earliestBeforeNow || time > now.tv_sec + latestAfterNow)
        return false;
    seconds = time;
    return true;
}

bool aim(int timer, long long seconds)
{
    itimerspec wakeUp {};
    wakeUp.it_value.tv_sec = static_cast<time_t>(seconds);
    return timerfd_settime(timer, TFD_TIMER_ABSTIME, &wakeUp, nullptr) == 0;
}

bool answer(const char *text)
{
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0;
}

bool answerArmed(long long seconds)
{
    return std::printf("armed %lld\n", seconds) > 0 && std::fflush(stdout) == 0;
}

int fail(const char *what)
{
    std::fprintf(stderr, "dorvex-wake: %s: %s\n", what, std::strerror(errno));
    return SystemFailed;
}

// Holds nothing it was handed but its three standard streams.
bool letGoOfInheritance()
{
    return close_range(3, ~0U, 0) == 0 && clearenv() == 0 && chdir("/") == 0;
}

// Keeps the timer and the capability to aim it (the kernel asks for it at
// every aim, not only when the timer is made), and nothing else: no other
// capability, none to hand on, and none to be gained by running a program.
bool keepOnlyWakeAlarm()
{
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return false;
    cap_t only = cap_init();
    if (only == nullptr)
        return false;
    const cap_value_t wakeAlarm[] = { CAP_WAKE_ALARM };
    const bool kept = cap_set_flag(only, CAP_PERMITTED, 1, wakeAlarm, CAP_SET) == 0
        && cap_set_flag(only, CAP_EFFECTIVE, 1, wakeAlarm, CAP_SET) == 0 && cap_set_proc(only) == 0;
    cap_free(only);
    return kept;
}

} // namespace

int main(int argc, char **)
{
    if (argc != 1) {
        std::fputs("dorvex-wake takes no arguments; it reads its standard input.\n", stderr);
        return ArgumentsGiven;
    }
    if (!letGoOfInheritance())
        return fail("closing what was inherited");
    const int timer = timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC);
    if (timer < 0 && errno == EPERM) {
        answer("no-capability\n");
        return NoCapability;
    }
    if (timer < 0)
        return fail("creating the wake-up timer");
    if (!keepOnlyWakeAlarm())
        return fail("dropping privileges");

    Line line;
    while (readLine(line)) {
        long long seconds = 0;
        bool answered = false;
        if (line.tooLong) {
            answered = answer("refused\n");
        } else if (isOff(line)) {
            if (!aim(timer, 0))
                return fail("disarming the wake-up");
            answered = answer("off\n");
        } else if (parseWakeTime(line, seconds)) {
            if (!aim(timer, seconds))
                return fail("arming the wake-up");
            answered = answerArmed(seconds);
        } else {
            answered = answer("refused\n");
        }
        // No one listens any more: the wake-up goes with this process.
        if (!answered)
            return SystemFailed;
    }
    aim(timer, 0);
    return Finished;
}
