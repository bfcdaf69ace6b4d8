#include "firstframe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

void FirstFrame::then(QWidget *window, std::function<void()> work)
{
    window->installEventFilter(new FirstFrame(window, std::move(work)));
}

FirstFrame::FirstFrame(QWidget *window, std::function<void()> work)
    : QObject(window)
    , work(std::move(work))
{
}

bool FirstFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint || event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        // Queued: the painted frame is flushed to the display only after
        // every widget of the window has painted.
        QTimer::singleShot(0, watched, work);
        deleteLater();
    }
    return QObject::eventFilter(watched, event);
}
