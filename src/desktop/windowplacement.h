#ifndef DORVEX_WINDOWPLACEMENT_H
#define DORVEX_WINDOWPLACEMENT_H

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps a top-level window where its user can see it: centred on the primary
// screen, wherever that screen lies among the others, and brought back there
// when the screen it was on goes away (a monitor unplugged or switched off),
// whether it is shown at that moment or not.
class WindowPlacement : public QObject
{
    Q_OBJECT

public:
    explicit WindowPlacement(QWidget *window);

    // The top-left corner that centres a window of the given size on a
    // screen of the given geometry, halves rounded toward zero.
    static QPoint centredOn(const QRect &screen, const QSize &window);

    void centreOnPrimaryScreen();

private:
    void keepOnAScreen();

    QWidget *window;
};

#endif
