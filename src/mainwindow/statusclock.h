#ifndef DORVEX_STATUSCLOCK_H
#define DORVEX_STATUSCLOCK_H

#include <QLabel>
#include <QTimer>

// The time of day at the right of the status bar. It is as wide as any time
// it can show, so that its ticking never lays the window out anew, and it
// rests while it is hidden (the window parked in the tray above all) so
// that the program sleeps; it is set right before it shows again.
class StatusClock : public QLabel
{
    Q_OBJECT

public:
    explicit StatusClock(QWidget *parent = nullptr);

    // The current time as the clock shows it.
    static QString currentText();
    void showTime();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer ticker;
};

#endif
