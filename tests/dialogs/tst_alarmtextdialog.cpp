#include "alarmtextdialog.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>

// The alarm's text and days: the week in the locale's order, the quick
// choices, and what OK, an empty text and Cancel leave.
class TestAlarmTextDialog : public QObject
{
    Q_OBJECT

private slots:
    void chooseTextAndDays_data();
    void chooseTextAndDays();
};

void TestAlarmTextDialog::chooseTextAndDays_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("before");
    // A quick choice's label, or a day's place in the shown week.
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("days");

    QTest::newRow("US week starts on Sunday")
        << "en_US"
        << "135" << QStringList { "0" } << "Bins" << true << "Bins"
        << "1357";
    QTest::newRow("German week starts on Monday, empty text")
        << "de_DE"
        << "135" << QStringList { "0" } << "" << true << "Tea"
        << "35";
    QTest::newRow("Mon–Fri") << "en_US"
                             << "6" << QStringList { "Mon–Fri" } << "" << true << "Tea"
                             << "12345";
    QTest::newRow("Every day") << "de_DE"
                               << "" << QStringList { "Every day" } << "" << true << "Tea"
                               << "1234567";
    QTest::newRow("Once, then Friday")
        << "en_US"
        << "1234567" << QStringList { "Once", "5" } << "" << true << "Tea"
        << "5";
    QTest::newRow("Cancel keeps both")
        << "de_DE"
        << "135" << QStringList { "Once" } << "Bins" << false << "Tea"
        << "135";
}

void TestAlarmTextDialog::chooseTextAndDays()
{
    QFETCH(QString, locale);
    QFETCH(QString, before);
    QFETCH(QStringList, clicks);
    QFETCH(QString, typed);
    QFETCH(bool, confirmed);
    QLocale::setDefault(QLocale(locale));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });

    AlarmTextDialog dialog(2, QStringLiteral("Tea"), AlarmDays::fromDigits(before));
    const QList<QToolButton *> buttons = dialog.findChildren<QToolButton *>();
    for (const QString &click : clicks) {
        bool isPlace = false;
        const int place = click.toInt(&isPlace);
        for (QToolButton *button : buttons) {
            if (isPlace ? button == buttons[place] : button->text() == click)
                button->click();
        }
    }
    auto *edit = dialog.findChild<QLineEdit *>();
    edit->clear();
    QTest::keyClicks(edit, typed);
    dialog.findChild<QDialogButtonBox *>()
        ->button(confirmed ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
        ->click();

    QTEST(dialog.text(), "text");
    QTEST(dialog.days().toDigits(), "days");
}

DORVEX_TEST_MAIN(TestAlarmTextDialog)

#include "tst_alarmtextdialog.moc"
