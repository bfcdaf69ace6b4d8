#ifndef DORVEX_LAUNCHERTOKEN_H
#define DORVEX_LAUNCHERTOKEN_H

#include <QByteArray>

// The token a desktop's launcher gives a program it starts, so that the
// window manager or compositor lets that program's window come to the
// front: the startup notification id on X11, the activation token on
// Wayland. A later start that hands over to the running copy passes its
// token on, and the running copy uses it as if it had been started itself.
class LauncherToken
{
public:
    // The token this start was given, or nothing.
    static QByteArray ofThisStart();
    // Makes the token the one the next window shown or activated uses.
    static void adopt(const QByteArray &token);
};

#endif
