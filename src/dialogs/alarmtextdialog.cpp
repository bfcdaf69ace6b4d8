#include "alarmtextdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>

AlarmTextDialog::AlarmTextDialog(
    int alarmNumber, const QString &text, AlarmDays days, QWidget *parent)
    : QDialog(parent)
    , initialText(text)
    , initialDays(days)
    , textEdit(new QLineEdit(text, this))
{
    setWindowTitle(tr("Question"));
    auto *column = new QVBoxLayout(this);
    auto *prompt = new QLabel(tr("Enter text to show when alarm %1 fires:").arg(alarmNumber), this);
    prompt->setBuddy(textEdit);
    column->addWidget(prompt);
    column->addWidget(textEdit);

    auto *week = new QHBoxLayout;
    week->setSpacing(2);
    const QLocale locale;
    for (int offset = 0; offset < 7; ++offset) {
        const auto day = Qt::DayOfWeek((locale.firstDayOfWeek() - 1 + offset) % 7 + 1);
        auto *button = new QToolButton(this);
        button->setText(locale.dayName(day, QLocale::ShortFormat));
        button->setAccessibleName(locale.dayName(day, QLocale::LongFormat));
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(button, &QToolButton::toggled, this, &AlarmTextDialog::markQuickChoices);
        week->addWidget(button);
        dayButtons.append({ day, button });
    }
    column->addLayout(week);

    auto *quickRow = new QHBoxLayout;
    addQuickChoice(quickRow, tr("Every day"), AlarmDays());
    addQuickChoice(quickRow, tr("Mon–Fri"), AlarmDays::workDays());
    addQuickChoice(quickRow, tr("Once"), AlarmDays::once());
    quickRow->addStretch();
    column->addLayout(quickRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    showDays(days);
}

void AlarmTextDialog::addQuickChoice(QLayout *row, const QString &label, AlarmDays days)
{
    auto *button = new QToolButton(this);
    button->setText(label);
    // Checked while the days are just these, so that "Once" tells what no day means.
    button->setCheckable(true);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this, days] { showDays(days); });
    row->addWidget(button);
    quickChoices.append({ days, button });
}

void AlarmTextDialog::showDays(AlarmDays days)
{
    for (const auto &[day, button] : std::as_const(dayButtons)) {
        const QSignalBlocker oneUpdateForAll(button);
        button->setChecked(days.contains(day));
    }
    markQuickChoices();
}

AlarmDays AlarmTextDialog::chosenDays() const
{
    AlarmDays days;
    for (const auto &[day, button] : dayButtons)
        days.set(day, button->isChecked());
    return days;
}

void AlarmTextDialog::markQuickChoices()
{
    const AlarmDays chosen = chosenDays();
    for (const auto &[days, button] : std::as_const(quickChoices))
        button->setChecked(days == chosen);
}

QString AlarmTextDialog::text() const
{
    if (result() != Accepted || textEdit->text().isEmpty())
        return initialText;
    return textEdit->text();
}

AlarmDays AlarmTextDialog::days() const
{
    return result() == Accepted ? chosenDays() : initialDays;
}
