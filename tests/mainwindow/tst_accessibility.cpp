#include "mainwindow.h"
#include "settingskeys.h"
#include "testclock.h"
#include "testenvironment.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QSettings>
#include <QTextDocument>
#include <QTimeEdit>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

// What a screen reader hears, and a lamp's tool tip. Alarm 2 rings at 09:00; it is 08:00.
static QStringList alerted;

static void noteAlert(QAccessibleEvent *event)
{
    alerted << (event->type() == QAccessible::Alert ? event->object()->objectName() : QString());
}

static void screenReaderListens(bool listens)
{
    QAccessible::installUpdateHandler(listens ? noteAlert : nullptr);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(listens);
}

static std::unique_ptr<MainWindow> newWindow(const QString &text)
{
    TestEnvironment::instance().reset();
    QSettings settings;
    settings.setValue(SettingsKeys::alarmTimeKey(2), QTime(9, 0));
    settings.setValue(SettingsKeys::alarmTextKey(2), text);
    settings.setValue(SettingsKeys::alarmTimeKey(3), QTime(6, 5, 9));
    settings.setValue(SettingsKeys::alarmEnabledKey(2), true);
    return std::make_unique<MainWindow>(true);
}

class TestAccessibility : public QObject
{
    Q_OBJECT
    const QDateTime eight { QDate(2027, 1, 12), QTime(8, 0), Qt::UTC };
    TestClock clock { eight };

private slots:
    void initTestCase() { Clock::install(&clock); }
    void init() { clock.stepTo(eight); }
    void cleanup()
    {
        screenReaderListens(false);
        alerted.clear();
    }
    void cleanupTestCase() { Clock::install(nullptr); }

    // Rows name the control read, heard as "name|description" by a screen reader that starts late.
    void screenReadersHearEachControlsAlarm_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("heard");
        const auto row = [](const char *change, const char *widget, const char *heard) {
            QTest::newRow(widget) << QString(change) << QString(heard);
        };
        row("", "analogClock3", "Alarm 3 clock, 06:05:09|");
        row("type", "analogClock2", "Alarm 2 clock, 07:30|");
        row("disable", "alarm2EnableCheckBox", "Enable alarm 2|All alarms are disabled");
        row("disable", "disableAllCheckBox", "Disable all alarms|No alarm will ring");
        row("disable enable", "alarm3EnableCheckBox",
            "Enable alarm 3|When checked, enable alarm 3");
        row("sleep", "missedAlarmsLabel", "Missed: alarm 2, due 09:00 Tue|");
    }
    void screenReadersHearEachControlsAlarm()
    {
        QFETCH(QString, change);
        QFETCH(QString, heard);
        const QString widget = QTest::currentDataTag();
        const std::unique_ptr<MainWindow> window = newWindow(QString());
        screenReaderListens(true);
        for (const QString &step : change.split(' ', Qt::SkipEmptyParts)) {
            if (step == "type")
                window->findChild<QTimeEdit *>("timeEditAlarm2")->setTime(QTime(7, 30));
            else if (step == "sleep")
                clock.sleep(14 * 60 * 60 * 1000); // past 21:00: too late to ring
            else
                window->findChild<QCheckBox *>("disableAllCheckBox")->setChecked(step == "disable");
        }
        QAccessibleInterface *read
            = QAccessible::queryAccessibleInterface(window->findChild<QWidget *>(widget));
        QCOMPARE(read->text(QAccessible::Name) + '|' + read->text(QAccessible::Description), heard);
        QCOMPARE(alerted.contains(widget), change == "sleep");
    }

    // Read as a tool tip reads it; a megabyte is cut short.
    void lampToolTipShowsTheTextAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup, a stray tag") << "<span style=\"color:#00ff00\">GREEN</span> a<b";
        QTest::newRow("an ampersand") << "&lt;Tea & biscuits&gt;";
        QTest::newRow("a picture") << "<img src=\"/etc/passwd\">";
        QTest::newRow("lines and spaces") << "<b>Tea</b>  now\n  and  later";
        QTest::newRow("a megabyte") << QStringLiteral("<i>x</i> ").repeated(1 << 17);
    }
    void lampToolTipShowsTheTextAsTyped()
    {
        QFETCH(QString, text);
        const QString toolTip = newWindow(text)->findChild<QLabel *>("alarm2LedLabel")->toolTip();
        QTextDocument shown;
        Qt::mightBeRichText(toolTip) ? shown.setHtml(toolTip) : shown.setPlainText(toolTip);
        const QString line = shown.toPlainText(), typed = "Rings at 09:00 today: " + text;
        QVERIFY(line.size() < 1000);
        QCOMPARE(line, text.size() < 1000 ? typed : typed.left(line.size() - 1) + QChar(0x2026));
    }
};

DORVEX_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
