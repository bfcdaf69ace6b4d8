#include "alarmengine.h"
#include "expirationdialog.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testclock.h"
#include "testenvironment.h"
#include "wakescheduler.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <unistd.h>

// The alarm panel's behaviour as a user meets it: what arms an alarm, when it
// fires, what is saved. Dialogs are answered the way a user would.
namespace {

const int day = 24 * 60 * 60 * 1000;

struct AlarmSeen
{
    QString sentence;
    QString number;
    QTime shownAt;
};

// Dismisses the next expiration dialog with a click, noting what it showed.
ModalAnswerer::Answer dismissAlarm(AlarmSeen *seen)
{
    return [seen](QWidget *dialog) {
        seen->shownAt = Clock::instance().localNow().time();
        QCOMPARE(dialog->metaObject()->className(), "ExpirationDialog");
        seen->sentence = dialog->findChild<QLabel *>("alarmLabel")->text();
        seen->number = dialog->findChild<QLabel *>("alarmNumberLeftLabel")->text();
        QTest::mouseClick(dialog, Qt::LeftButton);
    };
}

QTime wholeSecondsFromNow(int seconds)
{
    const QTime t = QTime::currentTime().addSecs(seconds);
    return QTime(t.hour(), t.minute(), t.second());
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunShowsTheDefaults();
    void loadAtStartMarksNothingAndAimsAtTheStoredTime();
    void alarmFiresOnTimeOnceIntoTheDialog();
    void timerRunningOutEarlyWaitsForTheSecond();
    void reaimingAfterFiringWaitsForTomorrow();
    void disableAllDisarmsAndRestoresExactlyTheEnabled();
    void toggleOfOneEnableBoxReaimsAllThree();
    void timeChangeReaimsOnlyItsAlarmAndKeepsTheLamps();
    void savedMessageOnlyAfterAChangeAndOncePerPeriod();
    void failedSaveIsReportedAndRetried();
    void textDialogChangesOnlyOnANewNonEmptyText_data();
    void textDialogChangesOnlyOnANewNonEmptyText();
    void lockedRowStaysArmedAndTestable();
    void testButtonShowsTheAlarmWhateverItsState();
    void testButtonsFollowTheDebugSwitchAndTheOption();
    void secondAlarmOpensAboveTheFirst();
    void valuesSurviveARestart();
    void damagedStoredValues();
    void noMaximiseButtonAndCentred();
    void lateRingSaysWhenItWasDue_data();
    void lateRingSaysWhenItWasDue();
    void preparedAlarmShowsAtItsSecondOnly_data();
    void preparedAlarmShowsAtItsSecondOnly();
    void wakesForTheSoonestRing_data();
    void wakesForTheSoonestRing();

private:
    template<typename T> T *child(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    QTimeEdit *timeEdit(int number) const
    {
        return child<QTimeEdit>(QStringLiteral("timeEditAlarm%1").arg(number));
    }
    QCheckBox *enableBox(int number) const
    {
        return child<QCheckBox>(QStringLiteral("alarm%1EnableCheckBox").arg(number));
    }
    bool lampIsGreen(int number) const;
    QString statusMessage() const
    {
        return static_cast<QMainWindow *>(window)->statusBar()->currentMessage();
    }
    void saveNow() { QMetaObject::invokeMethod(window, "maybeSaveSettings"); }
    void reaimNow() { QMetaObject::invokeMethod(window, "updateAlarms"); }
    void newWindow(bool debugMode = false);
    TestClock &installClock(const QDateTime &start = { QDate(2027, 1, 12), QTime(8, 0), Qt::UTC });
    // The clock runs on `ms`, then alarm `index`'s timer runs out and its ring is taken.
    void runOutAlarmTimer(int index, qint64 ms);

    MainWindow *window = nullptr;
    std::unique_ptr<TestClock> testClock;
};

void TestMainWindow::init()
{
    TestEnvironment::instance().reset();
}

void TestMainWindow::cleanup()
{
    delete window;
    window = nullptr;
    Clock::install(nullptr);
    TestEnvironment::instance().unblockStore();
}

TestClock &TestMainWindow::installClock(const QDateTime &start)
{
    testClock = std::make_unique<TestClock>(start);
    Clock::install(testClock.get());
    return *testClock;
}

void TestMainWindow::runOutAlarmTimer(int index, qint64 ms)
{
    testClock->runOn(ms);
    QMetaObject::invokeMethod(window, "alarm" + QByteArray::number(index + 1) + "Triggered");
    QCoreApplication::sendPostedEvents();
}

void TestMainWindow::newWindow(bool debugMode)
{
    delete window;
    window = new MainWindow(debugMode);
}

bool TestMainWindow::lampIsGreen(int number) const
{
    const QImage lamp
        = child<QLabel>(QStringLiteral("alarm%1LedLabel").arg(number))->pixmap().toImage();
    const QImage green = QPixmap(QStringLiteral(":/icons/images/greenled.png")).toImage();
    const QImage red = QPixmap(QStringLiteral(":/icons/images/redled.png")).toImage();
    if (lamp == green)
        return true;
    if (lamp != red)
        qWarning("lamp %d is neither red nor green", number);
    return false;
}

void TestMainWindow::firstRunShowsTheDefaults()
{
    newWindow();
    for (int number = 1; number <= 3; ++number) {
        QCOMPARE(timeEdit(number)->time(), QTime(0, 0));
        QVERIFY(!enableBox(number)->isChecked());
        QVERIFY(!lampIsGreen(number));
        QVERIFY(!window->alarmTimer(number - 1)->isActive());
        QVERIFY(!child<QToolButton>(QStringLiteral("alarm%1DebugToolButton").arg(number))
                     ->isVisibleTo(window));
    }
    QVERIFY(!child<QCheckBox>("disableAllCheckBox")->isChecked());

    AlarmSeen seen;
    for (int number = 1; number <= 3; ++number) {
        ModalAnswerer answerer(dismissAlarm(&seen));
        QMetaObject::invokeMethod(
            window, qPrintable(QStringLiteral("on_alarm%1DebugToolButton_clicked").arg(number)));
        QVERIFY(answerer.answered());
        QCOMPARE(seen.sentence, QStringLiteral("Alarm \"alarm %1\" expired!").arg(number));
        QCOMPARE(seen.number, QString::number(number));
    }

    // Nothing changed, so nothing is written.
    saveNow();
    QCOMPARE(statusMessage(), QString());
    QVERIFY(QSettings().allKeys().filter("alarm").isEmpty());
}

void TestMainWindow::loadAtStartMarksNothingAndAimsAtTheStoredTime()
{
    const QTime inAnHour = wholeSecondsFromNow(3600);
    {
        QSettings settings;
        settings.setValue(SettingsKeys::alarmTimeKey(2), inAnHour);
        settings.setValue(SettingsKeys::alarmEnabledKey(2), true);
        settings.setValue(SettingsKeys::alarmLockedKey(3), true);
    }
    newWindow();
    QCOMPARE(timeEdit(2)->time(), inAnHour);
    QVERIFY(enableBox(2)->isChecked());
    QVERIFY(lampIsGreen(2));
    QVERIFY(!lampIsGreen(1));
    QVERIFY(!timeEdit(3)->isEnabled());
    const QTimer *timer = window->alarmTimer(1);
    QVERIFY(timer->isActive());
    QVERIFY(timer->remainingTime() > 3590000 && timer->remainingTime() <= 3600000);
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    QVERIFY(!window->alarmTimer(0)->isActive());

    saveNow();
    QCOMPARE(statusMessage(), QString());
}

void TestMainWindow::alarmFiresOnTimeOnceIntoTheDialog()
{
    TestClock &clock = installClock();
    newWindow();
    const QTime alarmTime = clock.localNow().time().addSecs(3);
    timeEdit(1)->setTime(alarmTime);
    enableBox(1)->setChecked(true);
    const QTimer *timer = window->alarmTimer(0); // precise: never runs out early
    QVERIFY(timer->timerType() == Qt::PreciseTimer && timer->remainingTime() > 2900);
    QVERIFY(timer->isActive() && timer->remainingTime() <= 3000);

    int dialogs = 0;
    AlarmSeen seen;
    auto answerer = std::make_unique<ModalAnswerer>([&](QWidget *dialog) {
        ++dialogs;
        dismissAlarm (&seen)(dialog);
    });
    runOutAlarmTimer(0, 3000);
    QVERIFY(answerer->answered());
    QCOMPARE(seen.shownAt, alarmTime);
    QCOMPARE(seen.number, QStringLiteral("1"));

    // The same occurrence never comes back, whatever re-aims in between.
    auto watcher = std::make_unique<ModalAnswerer>(ModalAnswerer::pressEscape());
    for (int reaims = 0; reaims < 2; ++reaims) {
        clock.runOn(1500);
        reaimNow();
        QCoreApplication::sendPostedEvents();
    }
    QVERIFY(!watcher->answered());
    QCOMPARE(dialogs, 1);
}

void TestMainWindow::timerRunningOutEarlyWaitsForTheSecond()
{
    TestClock &clock = installClock();
    newWindow();
    const QTime alarmTime = clock.localNow().time().addSecs(3);
    timeEdit(1)->setTime(alarmTime);
    enableBox(1)->setChecked(true);

    AlarmSeen seen;
    ModalAnswerer answerer(dismissAlarm(&seen));
    // As if the timer ran out a second before the alarm's second.
    runOutAlarmTimer(0, 2000);
    QVERIFY(!answerer.answered());
    QVERIFY(window->alarmTimer(0)->isActive());
    runOutAlarmTimer(0, 1000);
    QVERIFY(answerer.answered());
    QCOMPARE(seen.shownAt, alarmTime);
}

void TestMainWindow::reaimingAfterFiringWaitsForTomorrow()
{
    const TestClock &clock = installClock();
    newWindow();
    timeEdit(2)->setTime(clock.localNow().time().addSecs(1));
    enableBox(2)->setChecked(true);
    AlarmSeen seen;
    ModalAnswerer answerer(dismissAlarm(&seen));
    runOutAlarmTimer(1, 1000);
    QVERIFY(answerer.answered());

    // Aimed at tomorrow once it has rung, and still after the minute's re-aim.
    const QTimer *timer = window->alarmTimer(1);
    for (int reaims = 0; reaims < 2; ++reaims) {
        QVERIFY(timer->isActive());
        QVERIFY2(timer->remainingTime() > day - 60000,
            qPrintable(QString::number(timer->remainingTime())));
        QVERIFY(timer->remainingTime() <= day);
        reaimNow();
    }
}

void TestMainWindow::disableAllDisarmsAndRestoresExactlyTheEnabled()
{
    newWindow();
    enableBox(1)->setChecked(true);
    enableBox(3)->setChecked(true);
    QVERIFY(lampIsGreen(1) && !lampIsGreen(2) && lampIsGreen(3));

    auto *disableAll = child<QCheckBox>("disableAllCheckBox");
    disableAll->setChecked(true);
    for (int number = 1; number <= 3; ++number) {
        QVERIFY(!lampIsGreen(number));
        QVERIFY(!window->alarmTimer(number - 1)->isActive());
    }
    QVERIFY(enableBox(1)->isChecked() && enableBox(3)->isChecked());
    reaimNow();
    QVERIFY(!window->alarmTimer(0)->isActive());

    disableAll->setChecked(false);
    QVERIFY(lampIsGreen(1) && !lampIsGreen(2) && lampIsGreen(3));
    QVERIFY(window->alarmTimer(0)->isActive());
    QVERIFY(!window->alarmTimer(1)->isActive());
    QVERIFY(window->alarmTimer(2)->isActive());
}

void TestMainWindow::toggleOfOneEnableBoxReaimsAllThree()
{
    newWindow();
    timeEdit(1)->setTime(wholeSecondsFromNow(3600));
    timeEdit(3)->setTime(wholeSecondsFromNow(3600));
    enableBox(1)->setChecked(true);
    enableBox(3)->setChecked(true);
    {
        // Moved without the window noticing: only a re-aim picks it up.
        const QSignalBlocker block1(timeEdit(1));
        const QSignalBlocker block3(timeEdit(3));
        timeEdit(1)->setTime(wholeSecondsFromNow(7200));
        timeEdit(3)->setTime(wholeSecondsFromNow(7200));
    }
    enableBox(2)->setChecked(true);
    QVERIFY(window->alarmTimer(0)->remainingTime() > 7100000);
    QVERIFY(window->alarmTimer(1)->isActive());
    QVERIFY(window->alarmTimer(2)->remainingTime() > 7100000);
}

void TestMainWindow::timeChangeReaimsOnlyItsAlarmAndKeepsTheLamps()
{
    newWindow();
    timeEdit(1)->setTime(wholeSecondsFromNow(3600));
    timeEdit(3)->setTime(wholeSecondsFromNow(3600));
    enableBox(1)->setChecked(true);
    enableBox(3)->setChecked(true);
    {
        const QSignalBlocker block(timeEdit(1));
        timeEdit(1)->setTime(wholeSecondsFromNow(7200));
    }
    {
        // Checked behind the window's back: its lamp must stay as it was.
        const QSignalBlocker block(enableBox(2));
        enableBox(2)->setChecked(true);
    }
    timeEdit(3)->setTime(wholeSecondsFromNow(10800));

    QVERIFY(window->alarmTimer(0)->remainingTime() < 3610000);
    QVERIFY(window->alarmTimer(2)->remainingTime() > 10700000);
    QVERIFY(!window->alarmTimer(1)->isActive());
    QVERIFY(!lampIsGreen(2));
}

void TestMainWindow::savedMessageOnlyAfterAChangeAndOncePerPeriod()
{
    newWindow();
    enableBox(2)->setChecked(true);
    saveNow();
    QVERIFY2(
        statusMessage().endsWith(QLatin1String(": Saved settings.")), qPrintable(statusMessage()));
    const QTime stamp = QTime::fromString(statusMessage().section(':', 0, 2), Qt::TextDate);
    QVERIFY(stamp.isValid());
    QVERIFY(qAbs(stamp.secsTo(QTime::currentTime())) <= 2);
    QCOMPARE(QSettings().value(SettingsKeys::alarmEnabledKey(2)).toBool(), true);

    static_cast<QMainWindow *>(window)->statusBar()->clearMessage();
    saveNow();
    QCOMPARE(statusMessage(), QString());
}

void TestMainWindow::failedSaveIsReportedAndRetried()
{
    newWindow();
    QVERIFY(TestEnvironment::instance().blockStore());
    enableBox(1)->setChecked(true);
    saveNow();
    QVERIFY2(statusMessage().endsWith(QLatin1String(": Could not save settings!")),
        qPrintable(statusMessage()));
    // The alarm itself keeps working.
    QVERIFY(window->alarmTimer(0)->isActive());

    // Once the folder can be written again, the next period saves.
    TestEnvironment::instance().unblockStore();
    saveNow();
    QVERIFY(statusMessage().endsWith(QLatin1String(": Saved settings.")));
    QSettings settings(TestEnvironment::instance().settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.value(SettingsKeys::alarmEnabledKey(1)).toString(), QStringLiteral("true"));
}

void TestMainWindow::textDialogChangesOnlyOnANewNonEmptyText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("shown");
    QTest::newRow("cancel") << "something new" << false << "alarm 2";
    QTest::newRow("emptied") << "" << true << "alarm 2";
    QTest::newRow("unchanged") << "alarm 2" << true << "alarm 2";
    QTest::newRow("new text") << "Take the pills" << true << "Take the pills";
}

void TestMainWindow::textDialogChangesOnlyOnANewNonEmptyText()
{
    QFETCH(QString, typed);
    QFETCH(bool, confirm);
    QFETCH(QString, shown);
    newWindow();
    ModalAnswerer input(ModalAnswerer::enterText(typed, confirm));
    child<QToolButton>("alarm2TextToolButton")->click();
    QVERIFY(input.answered());
    QCOMPARE(input.dialogText(), QStringLiteral("Enter text to show when alarm 2 fires:"));
    QCOMPARE(input.dialogParent(), window);

    saveNow();
    QCOMPARE(statusMessage().isEmpty(), shown == QLatin1String("alarm 2"));

    AlarmSeen seen;
    ModalAnswerer alarm(dismissAlarm(&seen));
    QMetaObject::invokeMethod(window, "on_alarm2DebugToolButton_clicked");
    QCOMPARE(seen.sentence, QStringLiteral("Alarm \"%1\" expired!").arg(shown));
}

void TestMainWindow::lockedRowStaysArmedAndTestable()
{
    newWindow(true);
    enableBox(1)->setChecked(true);
    saveNow();
    child<QCheckBox>("alarm1LockCheckBox")->setChecked(true);
    QVERIFY(!timeEdit(1)->isEnabled());
    QVERIFY(!child<QToolButton>("alarm1TextToolButton")->isEnabled());
    QVERIFY(enableBox(1)->isEnabled());
    QVERIFY(lampIsGreen(1));
    QVERIFY(window->alarmTimer(0)->isActive());

    auto *testButton = child<QToolButton>("alarm1DebugToolButton");
    QVERIFY(testButton->isEnabled());
    AlarmSeen seen;
    ModalAnswerer alarm(dismissAlarm(&seen));
    testButton->click();
    QVERIFY(alarm.answered());

    // The lock is a change to save.
    saveNow();
    QVERIFY(statusMessage().endsWith(QLatin1String("Saved settings.")));
    QCOMPARE(QSettings().value(SettingsKeys::alarmLockedKey(1)).toBool(), true);
}

void TestMainWindow::testButtonShowsTheAlarmWhateverItsState()
{
    newWindow(true);
    timeEdit(3)->setTime(wholeSecondsFromNow(3600));
    enableBox(3)->setChecked(true);
    child<QCheckBox>("disableAllCheckBox")->setChecked(true);
    QVERIFY(!window->alarmTimer(2)->isActive());

    AlarmSeen seen;
    ModalAnswerer alarm(dismissAlarm(&seen));
    child<QToolButton>("alarm3DebugToolButton")->click();
    QVERIFY(alarm.answered());
    QCOMPARE(seen.number, QStringLiteral("3"));
    QVERIFY(!window->alarmTimer(2)->isActive());
    QVERIFY(!lampIsGreen(3));
}

void TestMainWindow::testButtonsFollowTheDebugSwitchAndTheOption()
{
    newWindow(true);
    QVERIFY(child<QToolButton>("alarm2DebugToolButton")->isVisibleTo(window));

    // Once the settings are accepted, only the stored option counts.
    ModalAnswerer settings([](QWidget *dialog) {
        auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
        QVERIFY(buttons);
        buttons->button(QDialogButtonBox::Ok)->click();
    });
    QMetaObject::invokeMethod(window, "on_action_Settings_triggered");
    QVERIFY(settings.answered());
    for (int number = 1; number <= 3; ++number)
        QVERIFY(!child<QToolButton>(QStringLiteral("alarm%1DebugToolButton").arg(number))
                     ->isVisibleTo(window));

    {
        QSettings store;
        SettingsKeys::showTestAlarm.write(store, true);
    }
    newWindow(false);
    QVERIFY(child<QToolButton>("alarm2DebugToolButton")->isVisibleTo(window));
}

void TestMainWindow::secondAlarmOpensAboveTheFirst()
{
    newWindow();
    AlarmSeen second;
    QPointer<QWidget> firstDialog;
    bool secondWasAbove = false;
    ModalAnswerer first([&](QWidget *dialog) {
        firstDialog = dialog;
        ModalAnswerer inner([&](QWidget *secondDialog) {
            secondWasAbove = QApplication::activeModalWidget() == secondDialog
                && secondDialog != firstDialog.data() && firstDialog->isVisible();
            dismissAlarm (&second)(secondDialog);
        });
        // Alarm 3's second comes while alarm 1's dialog is still up.
        timeEdit(3)->setTime(wholeSecondsFromNow(1));
        enableBox(3)->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(inner.answered(), 5000);
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        QTest::mouseClick(dialog, Qt::LeftButton);
    });
    QMetaObject::invokeMethod(window, "on_alarm1DebugToolButton_clicked");
    QVERIFY(first.answered());
    QVERIFY(secondWasAbove);
    QCOMPARE(second.number, QStringLiteral("3"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestMainWindow::valuesSurviveARestart()
{
    newWindow();
    timeEdit(1)->setTime(QTime(6, 45, 30));
    timeEdit(3)->setTime(QTime(23, 59, 59));
    enableBox(3)->setChecked(true);
    child<QCheckBox>("alarm2LockCheckBox")->setChecked(true);
    child<QCheckBox>("disableAllCheckBox")->setChecked(true);
    ModalAnswerer input(ModalAnswerer::enterText(QStringLiteral("Bins out \"now\"")));
    child<QToolButton>("alarm1TextToolButton")->click();
    saveNow();
    QVERIFY(statusMessage().endsWith(QLatin1String("Saved settings.")));

    newWindow();
    QCOMPARE(timeEdit(1)->time(), QTime(6, 45, 30));
    QCOMPARE(timeEdit(3)->time(), QTime(23, 59, 59));
    QVERIFY(enableBox(3)->isChecked());
    QVERIFY(!enableBox(1)->isChecked());
    QVERIFY(child<QCheckBox>("alarm2LockCheckBox")->isChecked());
    QVERIFY(!timeEdit(2)->isEnabled());
    QVERIFY(child<QCheckBox>("disableAllCheckBox")->isChecked());
    QVERIFY(!lampIsGreen(3));
    AlarmSeen seen;
    ModalAnswerer alarm(dismissAlarm(&seen));
    QMetaObject::invokeMethod(window, "on_alarm1DebugToolButton_clicked");
    QCOMPARE(seen.sentence, QStringLiteral("Alarm \"Bins out \"now\"\" expired!"));
}

void TestMainWindow::damagedStoredValues()
{
    const QString longText(1024 * 1024, QLatin1Char('x'));
    {
        QSettings settings;
        settings.setValue(SettingsKeys::alarmTimeKey(1), QStringLiteral("25:99"));
        settings.setValue(SettingsKeys::alarmTimeKey(2), 12345);
        settings.setValue(SettingsKeys::alarmTimeKey(3), QString());
        settings.setValue(SettingsKeys::alarmEnabledKey(2), QStringLiteral("maybe"));
        settings.setValue(SettingsKeys::alarmTextKey(3), longText);
    }
    newWindow();
    for (int number = 1; number <= 3; ++number)
        QCOMPARE(timeEdit(number)->time(), QTime(0, 0));
    QVERIFY(!enableBox(2)->isChecked());
    QVERIFY(!lampIsGreen(2));

    AlarmSeen seen;
    ModalAnswerer alarm(dismissAlarm(&seen));
    QMetaObject::invokeMethod(window, "on_alarm3DebugToolButton_clicked");
    QVERIFY(alarm.answered());
    // A megabyte of text reaches the dialog, which shows what the screen holds.
    QVERIFY(seen.sentence.simplified().startsWith(QLatin1String("Alarm \"xxx")));
    QVERIFY(seen.sentence.endsWith(QChar(0x2026)));

    // An unreadable time leaves the field as it was rather than resetting it;
    // loading relies on that to keep the form's 00:00:00.
    timeEdit(1)->setTime(QTime(7, 30));
    timeEdit(1)->setTime(QTime());
    QCOMPARE(timeEdit(1)->time(), QTime(7, 30));
}

void TestMainWindow::noMaximiseButtonAndCentred()
{
    newWindow();
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window->pos(), QPoint(screen.width() / 2 - 482 / 2, screen.height() / 2 - 308 / 2));
}

void TestMainWindow::lateRingSaysWhenItWasDue_data()
{
    QTest::addColumn<QTime>("alarm");
    QTest::addColumn<QString>("watchedUntil");
    QTest::addColumn<int>("sleepMs");
    // A null line: no dialog; an empty one: a dialog without the line.
    QTest::addColumn<QString>("dueLine");
    QTest::addColumn<QString>("missedLine");

    // The window starts at 08:00 on a Tuesday.
    QTest::newRow("no watch kept: nothing at start")
        << QTime(7, 0) << QString() << 0 << QString() << QString();
    QTest::newRow("off since 06:00: late at start") << QTime(7, 0) << "2027-01-12T06:00:00Z" << 0
                                                    << "Due at 07:00, 1 h 00 min ago" << QString();
    QTest::newRow("off since the day before: missed") << QTime(19,
        0) << "2027-01-11T18:00:00Z" << 0 << QString() << "Missed: alarm 2, due 19:00 Mon";
    QTest::newRow("asleep across it")
        << QTime(8, 5) << QString() << 10 * 60000 << "Due at 08:05, 5 min ago" << QString();
    QTest::newRow("asleep, woken within the minute: no line")
        << QTime(8, 0, 30) << QString() << 60000 << "" << QString();
}

void TestMainWindow::lateRingSaysWhenItWasDue()
{
    QFETCH(QTime, alarm);
    QFETCH(QString, watchedUntil);
    QFETCH(int, sleepMs);
    QFETCH(QString, dueLine);
    QFETCH(QString, missedLine);
    TestClock clock(QDateTime(QDate(2027, 1, 12), QTime(8, 0), Qt::UTC));
    Clock::install(&clock);
    {
        QSettings settings;
        settings.setValue(SettingsKeys::alarmTimeKey(2), alarm);
        settings.setValue(SettingsKeys::alarmEnabledKey(2), true);
        if (!watchedUntil.isEmpty())
            settings.setValue(QLatin1String(SettingsKeys::watchedUntil), watchedUntil);
    }
    QString shownLine;
    bool lineVisible = false;
    ModalAnswerer answerer([&](QWidget *dialog) {
        const auto *label = dialog->findChild<QLabel *>("dueLabel");
        shownLine = label->text();
        lineVisible = label->isVisibleTo(dialog);
        QTest::mouseClick(dialog, Qt::LeftButton);
    });
    newWindow();
    clock.sleep(sleepMs);
    // The ring is posted: once it is taken, its dialog has come and gone.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(answerer.answered(), !dueLine.isNull());
    QCOMPARE(shownLine, dueLine.isNull() ? QString() : dueLine);
    QCOMPARE(lineVisible, !dueLine.isEmpty());

    auto *missed = child<QLabel>("missedAlarmsLabel");
    QCOMPARE(missed->text(), missedLine);
    QCOMPARE(missed->isVisibleTo(window), !missedLine.isEmpty());
    // Kept past the ring or the miss at once, so that neither comes back.
    if (answerer.answered() || !missedLine.isEmpty())
        QCOMPARE(SettingsKeys::readWatchedUntil(QSettings()), clock.now());

    // Told until the window has been shown with it.
    window->show();
    QCOMPARE(missed->isVisible(), !missedLine.isEmpty());
    window->hide();
    QVERIFY(!missed->isVisibleTo(window));
    Clock::install(nullptr);
    delete window;
    window = nullptr;
}

void TestMainWindow::preparedAlarmShowsAtItsSecondOnly_data()
{
    // Done at 08:00:58 to alarm 1, prepared at 08:00:56 for 08:01:00.
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<int>("ringsAtMs");

    const QString tea = QStringLiteral("Alarm \"Tea\" expired!");
    QTest::newRow("re-timed") << "time" << tea << 120000;
    QTest::newRow("new text") << "text"
                              << "Alarm \"Coffee\" expired!" << 60000;
    QTest::newRow("photo deleted") << "delete" << tea << 60000;
    QTest::newRow("photo unreadable") << "unreadable" << tea << 60000;
}

void TestMainWindow::preparedAlarmShowsAtItsSecondOnly()
{
    QFETCH(QString, change);
    QFETCH(QString, sentence);
    QFETCH(int, ringsAtMs);
    const QDateTime start(QDate(2027, 1, 12), QTime(8, 0), Qt::UTC);
    TestClock clock(start);
    Clock::install(&clock);
    {
        QSettings settings;
        settings.setValue(SettingsKeys::alarmTimeKey(1), QTime(8, 1));
        settings.setValue(SettingsKeys::alarmEnabledKey(1), true);
        settings.setValue(SettingsKeys::alarmTextKey(1), QStringLiteral("Tea"));
    }
    const QString photo = TestEnvironment::instance().workingFolder() + "/photos/only.jpg";
    QDir().mkpath(QFileInfo(photo).path());
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(photo));
    newWindow();
    // Moves the clock to `ms` after the start, as a sleep the program is told of.
    const auto moveTo = [&](qint64 ms) {
        clock.sleep(clock.now().msecsTo(start.addMSecs(ms)));
        QCoreApplication::sendPostedEvents();
    };
    const auto prepared = [this] {
        return window->findChildren<ExpirationDialog *>();
    };

    moveTo(55000);
    QVERIFY(prepared().isEmpty());
    moveTo(58000);
    QCOMPARE(prepared().size(), 1);
    QVERIFY(!prepared().first()->isVisible());
    if (change == QLatin1String("time")) {
        timeEdit(1)->setTime(QTime(8, 2));
    } else if (change == QLatin1String("text")) {
        ModalAnswerer input(ModalAnswerer::enterText(QStringLiteral("Coffee")));
        child<QToolButton>("alarm1TextToolButton")->click();
    } else {
        QVERIFY(change == QLatin1String("delete") ? QFile::remove(photo)
                                                  : QFile::setPermissions(photo, {}));
    }
    // Made after the text's dialog, and before a ring that would come too soon.
    ExpirationDialog *ready = nullptr;
    QStringList seen;
    ModalAnswerer answerer([&](QWidget *dialog) {
        seen << clock.now().toString("HH:mm:ss")
             << dialog->findChild<QLabel *>("alarmLabel")->text()
             << (dialog == ready ? "prepared" : "built at the ring")
             << (dialog->findChild<QLabel *>("imageLabel")->pixmap().isNull() ? "blank" : "photo");
        QTest::mouseClick(dialog, Qt::LeftButton);
    });
    moveTo(ringsAtMs - 4000);
    QCOMPARE(prepared().size(), 1);
    QVERIFY(!QSettings().contains(QLatin1String(SettingsKeys::lastShownPhoto)));

    ready = prepared().first();
    moveTo(ringsAtMs);
    QCOMPARE(seen,
        QStringList(
            { start.addMSecs(ringsAtMs).toString("HH:mm:ss"), sentence, "prepared", "photo" }));
    QVERIFY(prepared().isEmpty());
    QCOMPARE(QSettings().value(QLatin1String(SettingsKeys::lastShownPhoto)).toString(),
        QStringLiteral("photos:only.jpg"));
    Clock::install(nullptr);
    delete window;
    window = nullptr;
}

void TestMainWindow::wakesForTheSoonestRing_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("wakesFor"); // the alarm's index; -1: none
    QTest::newRow("two armed: the sooner") << QString() << 1;
    QTest::newRow("the sooner switched off") << "alarm2EnableCheckBox" << 0;
    QTest::newRow("all disabled") << "disableAllCheckBox" << -1;
}

void TestMainWindow::wakesForTheSoonestRing()
{
    QFETCH(QString, clicked);
    QFETCH(int, wakesFor);
    if (geteuid() != 0) // the helper beside the test lacks its capability
        QSKIP("Only root may run the real wake-up helper here.");
    // Near the kernel's time, as the helper wants; odd seconds, apart from other tests.
    installClock(QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC));
    QSettings settings;
    SettingsKeys::wakeComputer.write(settings, true);
    for (int number : { 1, 2 }) {
        settings.setValue(SettingsKeys::alarmTimeKey(number),
            testClock->now().time().addSecs((4 - number) * 3600 + 437));
        settings.setValue(SettingsKeys::alarmEnabledKey(number), true);
    }
    newWindow();
    const auto *scheduler = window->findChild<WakeScheduler *>();
    QTRY_VERIFY(scheduler->wakeTime().isValid());
    if (!clicked.isEmpty())
        child<QCheckBox>(clicked)->click();
    const QDateTime ring = window->alarmEngine()->nextRing(wakesFor);
    QTRY_COMPARE(scheduler->wakeTime(), ring.isValid() ? ring.addSecs(-60) : QDateTime());
    QCOMPARE(
        child<QLabel>("alarm2LedLabel")->toolTip().contains("wakes the computer"), wakesFor == 1);
}

DORVEX_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
