#include "windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WindowPlacement::WindowPlacement(QWidget *window)
    : QObject(window)
    , window(window)
{
    // Queued: while the signal is delivered, the toolkit may still count the
    // screen that is going away among its screens.
    connect(qApp, &QGuiApplication::screenRemoved, this, &WindowPlacement::keepOnAScreen,
        Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &WindowPlacement::keepOnAScreen,
        Qt::QueuedConnection);
}

QPoint WindowPlacement::centredOn(const QRect &screen, const QSize &window)
{
    return screen.topLeft()
        + QPoint(
            screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2);
}

void WindowPlacement::centreOnPrimaryScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(centredOn(screen->geometry(), window->size()));
}

void WindowPlacement::keepOnAScreen()
{
    if (!QGuiApplication::screenAt(window->frameGeometry().center()))
        centreOnPrimaryScreen();
}
