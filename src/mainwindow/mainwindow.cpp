#include "mainwindow.h"

#include "alarmannouncer.h"
#include "alarmengine.h"
#include "alarmstore.h"
#include "autostartoffer.h"
#include "clock.h"
#include "expirationdialog.h"
#include "helpdialog.h"
#include "nextalarmtext.h"
#include "programicon.h"
#include "sessionending.h"
#include "settingsdialog.h"
#include "settingskeys.h"
#include "statusclock.h"
#include "traypresence.h"
#include "typedtimeentry.h"
#include "version.h"
#include "plaintooltip.h"
#include "windowplacement.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
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
    setWindowIcon(ProgramIcon::icon());
    autostartOffer = new AutostartOffer(
        statusbar, autostartOfferFrame, autostartOfferAcceptButton, autostartOfferDismissButton);

    engine = new AlarmEngine(Clock::instance(), this);
    store = new AlarmStore(
        [this] {
            StoredPanel panel;
            for (int index = 0; index < rows.size(); ++index)
                panel.alarms.append(
                    { rows[index].timeEdit->time(), rows[index].enableCheckBox->isChecked(),
                        rows[index].lockCheckBox->isChecked(), alarmTexts[index] });
            panel.disableAll = disableAllCheckBox->isChecked();
            panel.watchedUntil = engine->watchedUntil();
            return panel;
        },
        this);
    constexpr int savedMessageMs = 2000;
    connect(store, &AlarmStore::saved, this, [this] {
        statusbar->showMessage(
            tr("%1: Saved settings.").arg(StatusClock::currentText()), savedMessageMs);
    });
    // Left up until the next period tries again.
    connect(store, &AlarmStore::saveFailed, this, [this] {
        statusbar->showMessage(tr("%1: Could not save settings!").arg(StatusClock::currentText()));
    });
    tray = new TrayPresence(
        this, { action_RestoreWindow, action_About, action_Exit, toTrayPushButton }, [this] {
            return TrayPresence::Status { engine->soonestAlarm() >= 0, trayToolTip() };
        });
    connect(tray, &TrayPresence::restoreRequested, this,
        &MainWindow::on_action_RestoreWindow_triggered);
    announcer = new AlarmAnnouncer(
        *engine, *store, [this](int index) { return alarmTexts.value(index); }, this);
    connect(announcer, &AlarmAnnouncer::missedAlarmsChanged, this, &MainWindow::showMissedAlarms);
    sessionEnding = new SessionEnding(this);

    suppressReactions = true;
    loadSettings();
    suppressReactions = false;
    setTestButtonsVisible(debugMode || testButtonsSetting);

    connect(engine, &AlarmEngine::scheduleChanged, this, &MainWindow::showNextAlarm);
    // A clock set or a wake-up changes how far off the next ring is.
    connect(&Clock::instance(), &Clock::changed, this, &MainWindow::showNextAlarm);

    updateLamps();
    updateAlarms();
    store->forgetChangesOfLoading();

    constexpr int reaimIntervalMs = 60000;
    auto *reaimTimer = new QTimer(this);
    connect(reaimTimer, &QTimer::timeout, this, &MainWindow::updateAlarms);
    reaimTimer->start(reaimIntervalMs);

    clockLabel = new StatusClock(statusbar);
    statusbar->addPermanentWidget(clockLabel, 0);
    missedLabel = new QLabel(statusbar);
    missedLabel->setObjectName(QStringLiteral("missedAlarmsLabel"));
    missedLabel->setVisible(false);
    statusbar->addWidget(missedLabel, 1);

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
    for (int index = 0; index < rows.size(); ++index) {
        alarmArmed[index]
            = rows[index].enableCheckBox->isChecked() && !disableAllCheckBox->isChecked();
        // Through an icon, which takes the lamp's double-size picture where
        // the screen is scaled up.
        rows[index].ledLabel->setPixmap(
            QIcon(alarmArmed[index] ? QStringLiteral(":/icons/images/greenled.png")
                                    : QStringLiteral(":/icons/images/redled.png"))
                .pixmap(QSize(16, 16), devicePixelRatioF()));
    }
    // The enable boxes stay checked: screen readers are told why nothing rings.
    const bool allDisabled = disableAllCheckBox->isChecked();
    for (const AlarmRow &row : rows)
        row.enableCheckBox->setAccessibleDescription(
            allDisabled ? tr("All alarms are disabled") : QString());
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
    engine->setAlarm(index, rows[index].timeEdit->time(), alarmArmed[index]);
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

void MainWindow::showMissedAlarms()
{
    missedLabel->setText(announcer->missedAlarms().join(QLatin1String("; ")));
    missedLabel->setVisible(!announcer->missedAlarms().isEmpty());
    tray->refresh();
    // Screen readers do not watch the status bar: a new line is announced.
    if (!announcer->missedAlarms().isEmpty()) {
        QAccessibleEvent announcement(missedLabel, QAccessible::Alert);
        QAccessible::updateAccessibility(&announcement);
    }
}

void MainWindow::showNextAlarm()
{
    for (int index = 0; index < rows.size(); ++index)
        rows[index].ledLabel->setToolTip(plainToolTip(
            NextAlarmText::lampLine(*engine, index, alarmTexts[index], Clock::instance())));
    tray->refresh();
}

void MainWindow::showAlarm(const QString &text, int number, const QString &dueLine,
    std::unique_ptr<ExpirationDialog> prepared)
{
    announcer->show(text, number, dueLine, std::move(prepared));
}

void MainWindow::armingChanged()
{
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
    bool confirmed = false;
    const QString text = QInputDialog::getText(this, tr("Question"),
        tr("Enter text to show when alarm %1 fires:").arg(index + 1), QLineEdit::Normal,
        alarmTexts[index], &confirmed);
    if (confirmed && !text.isEmpty() && text != alarmTexts[index]) {
        markSettingsChanged();
        alarmTexts[index] = text;
        showNextAlarm();
        announcer->renew(index);
    }
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
        NextAlarmText::trayLine(*engine, Clock::instance()) };
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
    const bool startOnTray = SettingsKeys::startOnTray.read(QSettings());
    // Only a start in the tray depends on a tray host the session bus has
    // not told of yet: that start waits until it has (or timed out); a
    // window that shows anyway does not.
    if (startOnTray && !tray->isSettled()) {
        connect(
            tray, &TrayPresence::settled, this, &MainWindow::showAtStart, Qt::SingleShotConnection);
        return;
    }
    if (startOnTray && trayAvailable()) {
        parkInTray();
        return;
    }
    setVisible(true);
    tray->setupIconAfterFirstFrame();
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
    if (SettingsKeys::confirmExit.read(settings)) {
        QMessageBox question(QMessageBox::Question, tr("Question"), tr("Dou you want to exit?"),
            QMessageBox::Yes | QMessageBox::No, boxParent);
        question.setDefaultButton(QMessageBox::No);
        question.setEscapeButton(QMessageBox::No);
        question.setWindowIcon(windowIcon());
        if (question.exec() != QMessageBox::Yes) {
            event->ignore();
            return;
        }
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
    if (dialog.exec() == QDialog::Accepted) {
        applyTestButtonSetting();
        announcer->renewAll();
    }
    // Start at log-in is switched in the dialog at once, and Reset forgets
    // the answer to the offer, whichever way the dialog ends.
    autostartOffer->refresh();
}
