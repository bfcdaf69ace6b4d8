#include "processexithook.h"

#include <QPointer>

#include <cstdlib>

namespace {

QPointer<QObject> hookOwner;
std::function<void()> hookAction;

void runHook()
{
    if (hookOwner && hookAction)
        hookAction();
}

} // namespace

void ProcessExitHook::install(QObject *owner, std::function<void()> action)
{
    static const bool registered = std::atexit(runHook) == 0;
    Q_UNUSED(registered);
    hookOwner = owner;
    hookAction = std::move(action);
}
