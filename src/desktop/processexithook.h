#ifndef DORVEX_PROCESSEXITHOOK_H
#define DORVEX_PROCESSEXITHOOK_H

#include <QObject>

#include <functional>

// Runs an action when the process is ended through exit() from deep inside
// the toolkit: the X11 platform ends the process that way the moment its
// display connection breaks, which is how a desktop without a session
// manager logs out. The action runs only while its owner lives, so an end
// through the event loop, after which the owner is gone, runs nothing.
class ProcessExitHook
{
public:
    // One action per process; a later call replaces the earlier one.
    static void install(QObject *owner, std::function<void()> action);
};

#endif
