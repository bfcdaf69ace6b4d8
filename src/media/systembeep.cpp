#include "systembeep.h"

#include <QApplication>

#include <utility>

static std::function<void()> &replacement()
{
    static std::function<void()> action;
    return action;
}

void SystemBeep::sound()
{
    if (replacement())
        replacement()();
    else
        QApplication::beep();
}

void SystemBeep::replace(std::function<void()> action)
{
    replacement() = std::move(action);
}
