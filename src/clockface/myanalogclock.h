#ifndef DORVEX_MYANALOGCLOCK_H
#define DORVEX_MYANALOGCLOCK_H

#include <QTime>
#include <QWidget>

// A small clock face showing one stored time of day (an alarm's time, not
// the current time). It repaints only when it is given a new time.
class MyAnalogClock : public QWidget
{
    Q_OBJECT

public:
    explicit MyAnalogClock(QWidget *parent = nullptr);

public slots:
    void updateTime(QTime time);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTime shownTime;
};

#endif
