#include "mainwindow.h"

#include "alarmannouncer.h"
#include "alarmengine.h"
#include "alarmstore.h"
#include "alarmtextdialog.h"
#include "autostartoffer.h"
#include "clock.h"
#include "exitquestion.h"
#include "expirationdialog.h"
#include "firstframe.h"
#include "helpdialog.h"
#include "nextalarmtext.h"
#include "plaintooltip.h"
#include "programicon.h"
#include "sessionending.h"
#include "settingsdialog.h"
#include "settingskeys.h"
#include "statusclock.h"
#include "statusnotices.h"
#include "traypresence.h"
#include "typedtimeentry.h"
#include "version.h"
#include "wakeups.h"
#include "windowplacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QSettings>
#include <QTextStream>
#include <QTimer>

MainWindow::MainWindow(bool debugMode, QWidget *parent)
    : QMainWindow(parent)
    , debugMode(debugMode)
{
    setupUi(this);
    rows = { { timeEditAlarm1, alarm1EnableCheckBox, alarm1LockCheckBox, alarm1LedLabel,
                 alarm1TextToolButton, alarm1DebugToolButton, analogClock1 },
        { timeEditAlarm2, alarm2EnableCheckBox, alarm2LockCheckBox, alarm2LedLabel,
            alarm2TextToolButton, alarm2DebugToolButton, analogClock2 },
        { timeEditAlarm3, alarm3EnableCheckBox, alarm3LockCheckBox, alarm3LedLabel,
            alarm3TextToolButton, alarm3DebugToolButton, analogClock3 } };
    Q_ASSERT(rows.size() == AlarmEngine::alarmCount);
    for (const AlarmRow &row : std::as_const(rows)) {
        TypedTimeEntry::install(row.timeEdit);
        connect(row.timeEdit, &QTimeEdit::timeChanged, row.analogClock, &MyAnalogClock::updateTime);
    }
    setWindowTitle(tr("Dorvex %1").arg(QLatin1String(programVersion)));
    // The scalable picture drawn at each size a window manager wants takes
    // longer than the window takes to appear: the form's small one serves.
    FirstFrame::then(this, [this] { setWindowIcon(ProgramIcon::icon()); });
    autostartOffer = new AutostartOffer(
        statusbar, autostartOfferFrame, autostartOfferAcceptButton, autostartOfferDismissButton);

    clockLabel = new StatusClock(statusbar);
    statusbar->addPermanentWidget(clockLabel, 0);
    missedLabel = new StatusNotices(statusbar);
    statusbar->addWidget(missedLabel, 1);

    engine = new AlarmEngine(Clock::instance(), this);
    wakeUps = new WakeUps(*engine, this);
    store = new AlarmStore(
        [this] {
            StoredPanel panel;
            for (int index = 0; index < rows.size(); ++index)
                panel.alarms.append({ rows[index].timeEdit->time(),
                    rows[index].enableCheckBox->isChecked(), rows[index].lockCheckBox->isChecked(),
                    alarmTexts[index], engine->alarmDays(index), engine->snoozedUntil(index) });
            panel.disableAll = disableAllCheckBox->isChecked();
            panel.watchedUntil = engine->watchedUntil();
            return panel;
        },
        this);
    connect(store, &AlarmStore::saved, missedLabel, [this] { missedLabel->tellSave(true); });
    connect(store, &AlarmStore::saveFailed, missedLabel, [this] { missedLabel->tellSave(false); });
    tray = new TrayPresence(
        this, { action_RestoreWindow, action_About, action_Exit, toTrayPushButton }, [this] {
            return TrayPresence::Status { engine->soonestAlarm() >= 0, trayToolTip() };
        });
    connect(tray, &TrayPresence::restoreRequested, this,
        &MainWindow::on_action_RestoreWindow_triggered);
    announcer = new AlarmAnnouncer(
        *engine, *store, [this](int index) { return alarmTexts.value(index); }, this);
    connect(announcer, &AlarmAnnouncer::missedAlarmsChanged, this, &MainWindow::showStatusLines);
    // A once-only alarm that rang is switched off as if by hand, and stored
    // so at once: after a crash it must not ring again at its next coming.
    connect(engine, &AlarmEngine::alarmSpent, this, [this](int index) {
        rows[index].enableCheckBox->setChecked(false);
        saveSettings();
    });
    sessionEnding = new SessionEnding(this);

    suppressReactions = true;
    loadSettings();
    suppressReactions = false;
    setTestButtonsVisible(debugMode || testButtonsSetting);

    connect(engine, &AlarmEngine::scheduleChanged, this, &MainWindow::showNextAlarm);
    // A clock set or a wake-up changes how far off the next ring is.
    connect(&Clock::instance(), &Clock::changed, this, &MainWindow::showNextAlarm);
    connect(wakeUps, &WakeUps::changed, this, &MainWindow::showNextAlarm);

    updateLamps();
    updateAlarms();
    store->forgetChangesOfLoading();

    constexpr int reaimIntervalMs = 60000;
    auto *reaimTimer = new QTimer(this);
    connect(reaimTimer, &QTimer::timeout, this, &MainWindow::updateAlarms);
    reaimTimer->start(reaimIntervalMs);

    // The tray icon itself comes with showAtStart().
    centerOnScreen();
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    action_RestoreWindow->setEnabled(false);

    // Last, when the status bar and the tray icon can tell of missed alarms.
    engine->startWatching(store->readWatchedUntil());
    showNextAlarm();
    announcer->prepareAhead();
}

MainWindow::~MainWindow() = default;

const QTimer *MainWindow::alarmTimer(int index) const
{
    return engine->timer(index);
}

void MainWindow::loadSettings()
{
    const StoredPanel panel = store->load();
    alarmArmed.clear();
    alarmTexts.clear();
    for (int index = 0; index < rows.size(); ++index) {
        const StoredPanel::Alarm &alarm = panel.alarms[index];
        rows[index].timeEdit->setTime(alarm.time);
        rows[index].lockCheckBox->setChecked(alarm.locked);
        rows[index].enableCheckBox->setChecked(alarm.enabled);
        alarmArmed.append(alarm.enabled);
        engine->setAlarm(index, alarm.time, false, alarm.days);
        engine->snooze(index, alarm.snoozedUntil);
        alarmTexts.append(alarm.text);
    }
    disableAllCheckBox->setChecked(panel.disableAll);
    testButtonsSetting = SettingsKeys::showTestAlarm.read(QSettings());
}

bool MainWindow::saveSettings()
{
    return store->save();
}

void MainWindow::markSettingsChanged()
{
    store->markChanged();
}

void MainWindow::maybeSaveSettings()
{
    store->saveIfChanged();
}

void MainWindow::updateTime()
{
    clockLabel->showTime();
}

void MainWindow::hideEvent(QHideEvent *event)
{
    // The window showed the missed alarms while it was up; once it goes,
    // they are told.
    announcer->forgetMissedAlarms();
    QMainWindow::hideEvent(event);
}

void MainWindow::updateLamps()
{
    const bool allDisabled = disableAllCheckBox->isChecked();
    for (int index = 0; index < rows.size(); ++index) {
        alarmArmed[index] = rows[index].enableCheckBox->isChecked() && !allDisabled;
        rows[index].showArmed(alarmArmed[index], allDisabled);
    }
    disableAllCheckBox->setAccessibleDescription(
        allDisabled ? tr("No alarm will ring") : QString());
    autostartOffer->setAlarmsArmed(alarmArmed.contains(true));
}

void MainWindow::refreshAlarms()
{
    if (suppressReactions)
        return;
    updateLamps();
    updateAlarms();
}

void MainWindow::rescheduleAlarm(int index)
{
    if (index < 0 || index >= rows.size())
        return;
    engine->setAlarm(
        index, rows[index].timeEdit->time(), alarmArmed[index], engine->alarmDays(index));
}

void MainWindow::updateAlarms()
{
    for (int index = 0; index < rows.size(); ++index)
        rescheduleAlarm(index);
    engine->check();
    // Every minute: how far off the next ring is changes with the time.
    showNextAlarm();
}

void MainWindow::checkAlarms()
{
    engine->check();
}

void MainWindow::showStatusLines()
{
    QStringList snoozed;
    for (int index = 0; index < rows.size(); ++index)
        snoozed << NextAlarmText::snoozeLine(*engine, index, Clock::instance());
    snoozed.removeAll(QString());
    missedLabel->showLines(snoozed, announcer->missedAlarms());
    tray->refresh();
}

void MainWindow::showNextAlarm()
{
    for (int index = 0; index < rows.size(); ++index)
        rows[index].ledLabel->setToolTip(plainToolTip(NextAlarmText::lampLine(
            *engine, index, alarmTexts[index], Clock::instance(), wakeUps->wakesFor(index))));
    showStatusLines();
}

void MainWindow::showAlarm(const QString &text, int number, const QString &dueLine,
    std::unique_ptr<ExpirationDialog> prepared)
{
    announcer->show(text, number, dueLine, std::move(prepared));
}

void MainWindow::armingChanged()
{
    // Switched off before, a once-only alarm has nothing left to cancel but
    // its snooze.
    if (disableAllCheckBox->isChecked()) {
        for (int index = 0; index < rows.size(); ++index)
            engine->cancelSnooze(index);
    }
    markSettingsChanged();
    refreshAlarms();
}

void MainWindow::alarmTimeChanged(int index)
{
    if (suppressReactions)
        return;
    markSettingsChanged();
    rescheduleAlarm(index);
}

void MainWindow::editAlarmText(int index)
{
    if (index < 0 || index >= rows.size())
        return;
    AlarmTextDialog dialog(index + 1, alarmTexts[index], engine->alarmDays(index), this);
    if (dialog.exec() != QDialog::Accepted
        || (dialog.text() == alarmTexts[index] && dialog.days() == engine->alarmDays(index)))
        return;
    markSettingsChanged();
    alarmTexts[index] = dialog.text();
    engine->setAlarm(index, rows[index].timeEdit->time(), alarmArmed[index], dialog.days());
    showNextAlarm();
    announcer->renew(index);
}

void MainWindow::showTestAlarm(int index)
{
    showAlarm(alarmTexts[index], index + 1);
}

void MainWindow::setTestButtonsVisible(bool visible)
{
    for (const AlarmRow &row : std::as_const(rows))
        row.testButton->setVisible(visible);
}

void MainWindow::applyTestButtonSetting()
{
    setTestButtonsVisible(SettingsKeys::showTestAlarm.read(QSettings()));
}

// The program's line, the next alarm under it, then any missed alarms.
QString MainWindow::trayToolTip() const
{
    const QStringList lines { tr("dorvex %1 by Ostrevan").arg(QLatin1String(programVersion)),
        NextAlarmText::trayLine(
            *engine, Clock::instance(), wakeUps->wakesFor(engine->soonestAlarm())) };
    return (lines + announcer->missedAlarms()).join(QLatin1Char('\n'));
}

void MainWindow::on_action_RestoreWindow_triggered()
{
    restoreFromTray();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    activateWindow();
    raise();
    // A window parked and restored quickly never loses the toolkit's focus
    // window, so the window system's focus coming back changes nothing and
    // the widgets would stay inactive; tell them here.
    if (QGuiApplication::focusWindow() == windowHandle() && !isActiveWindow())
        QApplication::setActiveWindow(this);
}

void MainWindow::on_toTrayPushButton_clicked()
{
    if (trayAvailable())
        parkInTray();
}

void MainWindow::showAtStart()
{
    tray->showWindowAtStart(SettingsKeys::startOnTray.read(QSettings()));
}

void MainWindow::centerOnScreen()
{
    // The placement stays with the window, to bring it back to a screen that
    // exists when its own is unplugged.
    (new WindowPlacement(this))->centreOnPrimaryScreen();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)
        && trayAvailable() && SettingsKeys::minimizeToTray.read(QSettings()))
        parkInTray();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The session ends the program by closing its windows.
    if (sessionEnding->closesNow()) {
        event->accept();
        endWithoutQuestion();
        return;
    }
    const QSettings settings;
    if (!suppressReactions && trayAvailable() && SettingsKeys::closeToTray.read(settings)) {
        parkInTray();
        event->ignore();
        return;
    }

    QWidget *boxParent = isParked() ? nullptr : this;
    if (SettingsKeys::confirmExit.read(settings) && !askToExit(boxParent, windowIcon())) {
        event->ignore();
        return;
    }

    if (!saveSettings()) {
        // The program is ending: say so rather than lose the alarms silently.
        QMessageBox::warning(boxParent, tr("Warning"),
            tr("The alarm settings could not be saved to %1.\n"
               "Changes made since the last save are lost.")
                .arg(QSettings().fileName()));
    }
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::bringToFront()
{
    on_action_RestoreWindow_triggered();
    if (QWidget *question = QApplication::activeModalWidget()) {
        question->raise();
        question->activateWindow();
    }
}

void MainWindow::endWithoutQuestion()
{
    saveWithoutQuestion();
    // Leaves every event loop, those of open dialogs included.
    QCoreApplication::exit(0);
}

void MainWindow::commitSessionData()
{
    sessionEnding->noteCommit();
    saveWithoutQuestion();
}

void MainWindow::saveWithoutQuestion()
{
    if (!saveSettings()) {
        QTextStream(stderr) << tr("Dorvex: the alarm settings could not be saved to %1.")
                                   .arg(QSettings().fileName())
                            << Qt::endl;
    }
}

void MainWindow::on_action_Exit_triggered()
{
    suppressReactions = true;
    close();
    suppressReactions = false;
}

void MainWindow::on_action_About_triggered()
{
    // Called directly rather than through the action: a disabled action no
    // longer triggers, and the window must come to the front all the same.
    on_action_RestoreWindow_triggered();
    QMessageBox::about(this, tr("About Dorvex %1").arg(QLatin1String(programVersion)),
        tr("Dorvex %1 by Ostrevan\n\n"
           "Free software, provided as is, without any warranty.")
            .arg(QLatin1String(programVersion)));
}

void MainWindow::on_action_About_Qt_triggered()
{
    QMessageBox::aboutQt(this, QString());
}

void MainWindow::on_action_Help_triggered()
{
    HelpDialog dialog(HelpDialog::helpFileIn(QCoreApplication::applicationDirPath()), this);
    dialog.exec();
}

void MainWindow::on_action_Settings_triggered()
{
    SettingsDialog dialog(debugMode, this);
    dialog.setTrayAvailable(trayAvailable());
    dialog.showWakeProblem(wakeUps->problem());
    if (dialog.exec() == QDialog::Accepted) {
        applyTestButtonSetting();
        announcer->renewAll();
        wakeUps->readOption();
    }
    // Start at log-in is switched in the dialog at once, and Reset forgets
    // the answer to the offer, whichever way the dialog ends.
    autostartOffer->refresh();
}
