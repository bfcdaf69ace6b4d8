#ifndef DORVEX_FIRSTFRAME_H
#define DORVEX_FIRSTFRAME_H

#include <QObject>

#include <functional>

class QWidget;

// Runs a piece of start-up work once a window has drawn its first frame,
// so that what the window does not need to appear no longer holds it back.
// The work runs from the event loop after that first paint, or after the
// window is hidden unpainted, whichever comes first; only once.
class FirstFrame : public QObject
{
    Q_OBJECT

public:
    static void then(QWidget *window, std::function<void()> work);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FirstFrame(QWidget *window, std::function<void()> work);

    std::function<void()> work;
};

#endif
