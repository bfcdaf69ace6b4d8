#include "mainwindow.h"
#include "settingskeys.h"
#include "testclock.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QTimeEdit>

// The window tells of the next ring in the tray icon's tool tip and picture
// and in the lamps' tool tips, and follows each change to the alarms or the
// clock: on a real X display with a tray, on a clock the test moves.
namespace {

constexpr qint64 hour = 60 * 60 * 1000;

enum class Change { SwitchedOff, AllDisabled, TimeTyped, SoonerArmed, MinuteReaim, ClockSet };

} // namespace

class TestNextAlarmView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void toolTipsAndPictureFollowAChange_data();
    void toolTipsAndPictureFollowAChange();

private:
    template<typename Widget> Widget *child(const MainWindow &window, const char *name) const
    {
        auto *widget = window.findChild<Widget *>(QLatin1String(name));
        if (!widget)
            qFatal("no %s", name);
        return widget;
    }

    static bool showsArmed(const QSystemTrayIcon *tray)
    {
        const auto pixels = [](const QImage &image) {
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        return pixels(tray->icon().pixmap(32).toImage())
            == pixels(QImage(QStringLiteral(":/tray/dorvex-armed-32.png")));
    }
};

void TestNextAlarmView::initTestCase()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("no system tray in this session");
}

void TestNextAlarmView::toolTipsAndPictureFollowAChange_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("trayLine");
    QTest::addColumn<QString>("secondLamp");

    QTest::newRow("alarm switched off") << Change::SwitchedOff << "No alarm armed"
                                        << "Not armed";
    QTest::newRow("all disabled") << Change::AllDisabled << "No alarm armed"
                                  << "Not armed";
    QTest::newRow("time typed: today") << Change::TimeTyped << "Next alarm: 2 at 23:30, in 12 min"
                                       << "Rings at 23:30 today: Tea is ready";
    QTest::newRow("another alarm armed, sooner")
        << Change::SoonerArmed << "Next alarm: 3 at 23:40, in 22 min"
        << "Rings at 07:30 tomorrow: Tea is ready";
    QTest::newRow("an hour on, at the minute's re-aim")
        << Change::MinuteReaim << "Next alarm: 2 at 07:30, in 7 h 12 min"
        << "Rings at 07:30 today: Tea is ready";
    QTest::newRow("clock set forward")
        << Change::ClockSet << "Next alarm: 2 at 07:30, in 6 h 12 min"
        << "Rings at 07:30 today: Tea is ready";
}

void TestNextAlarmView::toolTipsAndPictureFollowAChange()
{
    QFETCH(Change, change);
    QFETCH(QString, trayLine);
    QFETCH(QString, secondLamp);
    TestEnvironment::instance().reset();
    {
        QSettings settings;
        settings.setValue(SettingsKeys::alarmTimeKey(2), QTime(7, 30));
        settings.setValue(SettingsKeys::alarmEnabledKey(2), true);
        settings.setValue(SettingsKeys::alarmTextKey(2), QStringLiteral("Tea is ready"));
        for (const int number : { 1, 3 })
            settings.setValue(SettingsKeys::alarmEnabledKey(number), false);
    }
    const QTimeZone berlin("Europe/Berlin");
    TestClock clock(QDateTime(QDate(2026, 12, 7), QTime(23, 18), berlin).toUTC(), berlin);
    Clock::install(&clock);
    MainWindow window(false);
    const auto restoreClock = qScopeGuard([] { Clock::install(nullptr); });
    window.showAtStart();
    QTRY_VERIFY(window.findChild<QSystemTrayIcon *>());
    const auto *tray = window.findChild<QSystemTrayIcon *>();
    const auto *secondLampLabel = child<QLabel>(window, "alarm2LedLabel");
    const QString programLine = tray->toolTip().section(QLatin1Char('\n'), 0, 0);
    QCOMPARE(tray->toolTip().section(QLatin1Char('\n'), 1),
        QStringLiteral("Next alarm: 2 at 07:30, in 8 h 12 min"));
    QVERIFY(showsArmed(tray));
    QCOMPARE(secondLampLabel->toolTip(), QStringLiteral("Rings at 07:30 tomorrow: Tea is ready"));
    QCOMPARE(child<QLabel>(window, "alarm1LedLabel")->toolTip(), QStringLiteral("Not armed"));

    switch (change) {
    case Change::SwitchedOff:
        child<QCheckBox>(window, "alarm2EnableCheckBox")->setChecked(false);
        break;
    case Change::AllDisabled:
        child<QCheckBox>(window, "disableAllCheckBox")->setChecked(true);
        break;
    case Change::TimeTyped:
        child<QTimeEdit>(window, "timeEditAlarm2")->setTime(QTime(23, 30));
        break;
    case Change::SoonerArmed:
        child<QTimeEdit>(window, "timeEditAlarm3")->setTime(QTime(23, 40));
        child<QCheckBox>(window, "alarm3EnableCheckBox")->setChecked(true);
        break;
    case Change::MinuteReaim:
        clock.runOn(hour);
        QVERIFY(QMetaObject::invokeMethod(&window, "updateAlarms"));
        break;
    case Change::ClockSet:
        clock.step(2 * hour);
        break;
    }

    // The program's own line stays first, the next alarm under it.
    QCOMPARE(tray->toolTip(), programLine + QLatin1Char('\n') + trayLine);
    QCOMPARE(showsArmed(tray), trayLine.startsWith(QLatin1String("Next")));
    QCOMPARE(secondLampLabel->toolTip(), secondLamp);
}

DORVEX_TEST_MAIN(TestNextAlarmView)
#include "tst_nextalarmview.moc"
