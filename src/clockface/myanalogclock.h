#ifndef DORVEX_MYANALOGCLOCK_H
#define DORVEX_MYANALOGCLOCK_H

#include <QTime>
#include <QWidget>

// A small clock face showing one stored time of day (an alarm's time, not
// the current time). It repaints only when it is given a new time, and
// tells screen readers its caption and the time in its accessible name.
class MyAnalogClock : public QWidget
{
    Q_OBJECT
    // What the face is the clock of, such as "Alarm 1 clock".
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit MyAnalogClock(QWidget *parent = nullptr);

    QString caption() const { return shownCaption; }
    void setCaption(const QString &caption);

public slots:
    void updateTime(QTime time);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void nameForScreenReaders();

    QTime shownTime;
    QString shownCaption;
};

#endif
