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
    void chooseTextAndDays_data();
    void chooseTextAndDays();
};

static void addRow(const char *name, const QString &fields)
{
    QTestData &row = QTest::newRow(name);
    for (const QString &field : fields.split('|'))
        row << field;
}

void TestAlarmTextDialog::chooseTextAndDays_data()
{
    // Clicks: quick choices by label or days by place in the shown week, then OK unless Cancel.
    for (const char *column : { "locale", "before", "clicks", "typed", "text", "days" })
        QTest::addColumn<QString>(column);
    addRow("US from Sunday", "en_US|135|0|Bins|Bins|1357");
    addRow("German from Monday, empty text", "de_DE|135|0||Tea|35");
    addRow("Mon–Fri", "en_US|6|Mon–Fri||Tea|12345");
    addRow("Every day", "de_DE||Every day||Tea|1234567");
    addRow("Once, then Friday", "en_US|1234567|Once,5||Tea|5");
    addRow("Cancel keeps both", "de_DE|135|Once,Cancel|Bins|Tea|135");
}

void TestAlarmTextDialog::chooseTextAndDays()
{
    QFETCH(QString, locale);
    QFETCH(QString, before);
    QFETCH(QString, clicks);
    QFETCH(QString, typed);
    QLocale::setDefault(QLocale(locale));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });

    AlarmTextDialog dialog(2, QStringLiteral("Tea"), AlarmDays::fromDigits(before));
    const QList<QToolButton *> buttons = dialog.findChildren<QToolButton *>();
    for (const QString &click : clicks.split(',')) {
        bool isPlace = false;
        const int place = click.toInt(&isPlace);
        for (QToolButton *button : buttons)
            if (isPlace ? button == buttons[place] : button->text() == click)
                button->click();
    }
    auto *edit = dialog.findChild<QLineEdit *>();
    edit->clear();
    QTest::keyClicks(edit, typed);
    const bool cancelled = clicks.endsWith(QLatin1String("Cancel"));
    auto *buttonBox = dialog.findChild<QDialogButtonBox *>();
    buttonBox->button(cancelled ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();

    QTEST(dialog.text(), "text");
    QTEST(dialog.days().toDigits(), "days");
}

DORVEX_TEST_MAIN(TestAlarmTextDialog)

#include "tst_alarmtextdialog.moc"
