#include "alarmtextdialog.h"
#include "testenvironment.h"
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>

// The alarm's text and days: the locale's week, quick choices, what OK and Cancel leave.
class TestAlarmTextDialog : public QObject
{
    Q_OBJECT

private slots:
    void chooseTextAndDays_data()
    {
        // locale|days before|clicks|typed|text after|days after. Clicks: quick choices by label
        // or days by place in the shown week, then OK unless Cancel.
        QTest::addColumn<QString>("fields");
        QTest::newRow("US from Sunday") << "en_US|135|0|Bins|Bins|1357";
        QTest::newRow("German from Monday, empty text") << "de_DE|135|0||Tea|35";
        QTest::newRow("Mon–Fri") << "en_US|6|Mon–Fri||Tea|12345";
        QTest::newRow("Every day") << "de_DE||Every day||Tea|1234567";
        QTest::newRow("Once, then Friday") << "en_US|1234567|Once,5||Tea|5";
        QTest::newRow("Cancel keeps both") << "de_DE|135|Once,Cancel|Bins|Tea|135";
    }
    void chooseTextAndDays()
    {
        QFETCH(QString, fields);
        const QStringList field = fields.split('|');
        QLocale::setDefault(QLocale(field[0]));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        AlarmTextDialog dialog(2, QStringLiteral("Tea"), AlarmDays::fromDigits(field[1]));
        const QList<QToolButton *> buttons = dialog.findChildren<QToolButton *>();
        for (const QString &click : field[2].split(','))
            for (QToolButton *button : buttons)
                if (button->text() == click || click == QString::number(buttons.indexOf(button)))
                    button->click();
        auto *edit = dialog.findChild<QLineEdit *>();
        edit->clear();
        QTest::keyClicks(edit, field[3]);
        const auto answer
            = field[2].endsWith("Cancel") ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok;
        dialog.findChild<QDialogButtonBox *>()->button(answer)->click();
        QCOMPARE(dialog.text(), field[4]);
        QCOMPARE(dialog.days().toDigits(), field[5]);
    }
};

DORVEX_TEST_MAIN(TestAlarmTextDialog)
#include "tst_alarmtextdialog.moc"
