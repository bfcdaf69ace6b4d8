#ifndef DORVEX_ALARMROW_H
#define DORVEX_ALARMROW_H

class MyAnalogClock;
class QCheckBox;
class QLabel;
class QTimeEdit;
class QToolButton;

// The widgets of one alarm, as the panel's form lays them out.
struct AlarmRow
{
    QTimeEdit *timeEdit;
    QCheckBox *enableCheckBox;
    QCheckBox *lockCheckBox;
    QLabel *ledLabel;
    QToolButton *textButton;
    QToolButton *testButton;
    MyAnalogClock *analogClock;

    // The lamp green while the alarm is armed. With every alarm disabled the
    // enable box stays checked, so screen readers are told why nothing rings.
    void showArmed(bool armed, bool allDisabled) const;
};

#endif
