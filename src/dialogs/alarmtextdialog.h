#ifndef DORVEX_ALARMTEXTDIALOG_H
#define DORVEX_ALARMTEXTDIALOG_H

#include "alarmdays.h"

#include <QDialog>
#include <QList>
#include <QString>

class QLineEdit;
class QToolButton;

// Asks for an alarm's text and the days of the week it rings on. An empty
// text keeps the old one; no day chosen means the alarm rings once.
class AlarmTextDialog : public QDialog
{
    Q_OBJECT

public:
    AlarmTextDialog(
        int alarmNumber, const QString &text, AlarmDays days, QWidget *parent = nullptr);

    // What the user chose once the dialog was accepted; until then, and
    // after Cancel, what the dialog was opened with.
    QString text() const;
    AlarmDays days() const;

private:
    void addQuickChoice(QLayout *row, const QString &label, AlarmDays days);
    void showDays(AlarmDays days);
    AlarmDays chosenDays() const;
    void markQuickChoices();

    QString initialText;
    AlarmDays initialDays;
    QLineEdit *textEdit;
    // In the locale's week order, each with its day.
    QList<QPair<Qt::DayOfWeek, QToolButton *>> dayButtons;
    QList<QPair<AlarmDays, QToolButton *>> quickChoices;
};

#endif
