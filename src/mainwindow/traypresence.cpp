#include "traypresence.h"

#include "firstframe.h"
#include "trayhostwatcher.h"
#include "traypicture.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QWidget>

TrayPresence::TrayPresence(QWidget *window, Controls controls, std::function<Status()> status)
    : QObject(window)
    , window(window)
    , controls(controls)
    , status(std::move(status))
    , host(new TrayHostWatcher(this))
{
    connect(host, &TrayHostWatcher::availabilityChanged, this, &TrayPresence::followHost);
    connect(host, &TrayHostWatcher::settled, this, &TrayPresence::settled);
    controls.toTray->setEnabled(isAvailable());
}

bool TrayPresence::isAvailable() const
{
    return host->isAvailable();
}

void TrayPresence::showWindowAtStart(bool inTray)
{
    if (inTray && !isSettled()) {
        connect(
            this, &TrayPresence::settled, this, [this] { showWindowAtStart(true); },
            Qt::SingleShotConnection);
        return;
    }
    if (inTray && isAvailable()) {
        park();
        return;
    }
    window->setVisible(true);
    setupIconAfterFirstFrame();
}

bool TrayPresence::isSettled() const
{
    return host->isSettled();
}

void TrayPresence::setupIcon()
{
    iconWanted = true;
    if (!isAvailable()) {
        controls.toTray->setEnabled(false);
        return;
    }
    controls.toTray->setEnabled(true);
    host->commitProtocol();
    const Status shown = status();
    trayShowsArmed = shown.armed;
    trayIcon
        = new QSystemTrayIcon(TrayPicture::icon(trayShowsArmed, inStatusNotifierPanel()), this);
    trayIcon->setToolTip(shown.toolTip);
    auto *menu = new QMenu(window);
    menu->addAction(controls.restore);
    menu->addAction(controls.about);
    menu->addSeparator();
    menu->addAction(controls.exit);
    trayIcon->setContextMenu(menu);
    connect(trayIcon, &QSystemTrayIcon::activated, this, &TrayPresence::activate);
    trayIcon->setVisible(true);
}

void TrayPresence::setupIconAfterFirstFrame()
{
    // Safe after the frame: a host that comes or goes meanwhile is followed
    // through followHost() as ever, and the icon, made from the status of
    // that moment, tells of alarms missed before it.
    FirstFrame::then(window, [this] {
        if (!trayIcon)
            setupIcon();
    });
}

void TrayPresence::removeIcon()
{
    if (!trayIcon)
        return;
    trayIcon->setVisible(false);
    trayIcon->deleteLater();
    trayIcon = nullptr;
}

void TrayPresence::refresh()
{
    if (!trayIcon)
        return;
    const Status shown = status();
    if (shown.armed != trayShowsArmed) {
        trayShowsArmed = shown.armed;
        trayIcon->setIcon(TrayPicture::icon(shown.armed, inStatusNotifierPanel()));
    }
    if (trayIcon->toolTip() != shown.toolTip)
        trayIcon->setToolTip(shown.toolTip);
}

void TrayPresence::followHost()
{
    if (isAvailable()) {
        if (!iconWanted)
            controls.toTray->setEnabled(true);
        else if (!trayIcon)
            setupIcon();
        return;
    }
    if (isParked())
        emit restoreRequested();
    removeIcon();
    controls.toTray->setEnabled(false);
}

bool TrayPresence::inStatusNotifierPanel()
{
    return TrayHostWatcher::committedProtocol() == TrayHostWatcher::Protocol::StatusNotifier;
}

void TrayPresence::activate(QSystemTrayIcon::ActivationReason reason)
{
    // StatusNotifier panels never report a double click: their click
    // restores, and does nothing more to a window that is shown.
    const bool clickRestores = inStatusNotifierPanel() && (isParked() || window->isMinimized());
    if (reason == QSystemTrayIcon::DoubleClick
        || (reason == QSystemTrayIcon::Trigger && clickRestores))
        emit restoreRequested();
}

bool TrayPresence::isParked() const
{
    return (window->windowFlags() & (Qt::WindowType(0x02) | Qt::WindowType(0x10))) != 0;
}

void TrayPresence::park()
{
    // The icon comes after the window's first frame; parked before that (a
    // start in the tray, above all), the window needs it first, so that it
    // is never out of reach.
    if (!trayIcon)
        setupIcon();
    // As a sub-window without a parent the window is hidden, and with it its
    // taskbar entry; only the tray icon is left.
    window->setWindowFlags(Qt::SubWindow);
    controls.restore->setEnabled(true);
}

void TrayPresence::restore()
{
    if (!controls.restore->isEnabled())
        return;
    window->setWindowFlags(Qt::Window);
    QPoint position = window->pos();
    position.setX(qMax(0, position.x()));
    position.setY(qMax(0, position.y()));
    window->move(position);
    window->setWindowFlags(window->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    controls.restore->setEnabled(false);
    window->setVisible(true);
}
