#include "windowplacement.h"

#include <QGuiApplication>
#include <QRegion>
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

// Window managers keep at least a corner of a window on the screens left;
// what matters is the whole of it, which may span monitors that exist.
void WindowPlacement::keepOnAScreen()
{
    QRegion screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens += screen->geometry();
    if (!QRegion(window->frameGeometry()).subtracted(screens).isEmpty())
        centreOnPrimaryScreen();
}
