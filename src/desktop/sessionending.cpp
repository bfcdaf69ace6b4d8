#include "sessionending.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

SessionEnding::SessionEnding(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

void SessionEnding::noteCommit()
{
    committed = true;
    closeUntilIdle();
}

bool SessionEnding::eventFilter(QObject *watched, QEvent *event)
{
    // The session manager's order to end arrives as the application's quit,
    // which closes the windows before it returns.
    if (committed && watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
        closeUntilIdle();
    return QObject::eventFilter(watched, event);
}

// The closes that the session makes come before the event loop is back.
void SessionEnding::closeUntilIdle()
{
    sessionCloses = true;
    QTimer::singleShot(0, this, [this] { sessionCloses = false; });
}
