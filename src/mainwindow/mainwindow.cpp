#include "mainwindow.h"

#include "alarmengine.h"
#include "alarmnotices.h"
#include "alarmnotification.h"
#include "alarmpreparer.h"
#include "autostartoffer.h"
#include "clock.h"
#include "expirationdialog.h"
#include "helpdialog.h"
#include "nextalarmtext.h"
#include "preparedalarmdialogs.h"
#include "programicon.h"
#include "settingsdialog.h"
#include "settingskeys.h"
#include "settingsrepair.h"
#include "trayhostwatcher.h"
#include "traypicture.h"
#include "typedtimeentry.h"
#include "version.h"
#include "windowplacement.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr int alarmCount = 3;
constexpr int saveIntervalMs = 30000;
constexpr int reaimIntervalMs = 60000;
constexpr int clockIntervalMs = 1000;
constexpr int savedMessageMs = 2000;

QString currentTimeText()
{
    return Clock::instance().localNow().time().toString(Qt::TextDate);
}

// The current time with every digit swapped for the font's widest one: the
// widest text the status-bar clock can show.
QString widestTimeText(const QFontMetrics &metrics)
{
    QChar widest = QLatin1Char('0');
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (metrics.horizontalAdvance(QLatin1Char(digit)) > metrics.horizontalAdvance(widest))
            widest = QLatin1Char(digit);
    }
    QString text = currentTimeText();
    for (QChar &character : text) {
        if (character.isDigit())
            character = widest;
    }
    return text;
}

// A tool tip reads its text as markup when it looks like some: the alarm's
// text is shown as typed all the same, and cut short, as a tool tip lays out
// all it is given, a text of megabytes too.
QString plainToolTip(const QString &line)
{
    constexpr int shownAtMost = 500;
    const QString shown = line.size() > shownAtMost ? line.left(shownAtMost) + QChar(0x2026) : line;
    if (!Qt::mightBeRichText(shown))
        return shown;
    return QLatin1String("<p style=\"white-space:pre-wrap\">") + shown.toHtmlEscaped()
        + QLatin1String("</p>");
}

} // namespace

MainWindow::MainWindow(bool debugMode, QWidget *parent)
    : QMainWindow(parent)
    , debugMode(debugMode)
{
    // First: the window's events ask it about the tray from the start.
    trayHost = new TrayHostWatcher(this);
    connect(trayHost, &TrayHostWatcher::availabilityChanged, this, &MainWindow::followTrayHost);
    setupUi(this);
    for (QTimeEdit *edit : { timeEditAlarm1, timeEditAlarm2, timeEditAlarm3 })
        TypedTimeEntry::install(edit);
    setWindowTitle(tr("Dorvex %1").arg(QLatin1String(programVersion)));
    setWindowIcon(ProgramIcon::icon());
    autostartOffer = new AutostartOffer(
        statusbar, autostartOfferFrame, autostartOfferAcceptButton, autostartOfferDismissButton);

    connect(timeEditAlarm1, SIGNAL(timeChanged(const QTime &)), analogClock1,
        SLOT(updateTime(const QTime &)));
    connect(timeEditAlarm2, SIGNAL(timeChanged(const QTime &)), analogClock2,
        SLOT(updateTime(const QTime &)));
    connect(timeEditAlarm3, SIGNAL(timeChanged(const QTime &)), analogClock3,
        SLOT(updateTime(const QTime &)));

    suppressReactions = true;
    loadSettings();
    suppressReactions = false;

    engine = new AlarmEngine(Clock::instance(), this);

    setTestButtonsVisible(debugMode || testButtonsSetting);

    // Queued, so that alarms due together each open a dialog above the
    // previous one rather than wait for it to close.
    connect(
        engine, &AlarmEngine::alarmDue, this,
        [this](int index, const QDateTime &due, qint64 lateMs) { ringAlarm(index, due, lateMs); },
        Qt::QueuedConnection);
    connect(engine, &AlarmEngine::alarmMissed, this,
        [this](int index, const QDateTime &due) { noteMissedAlarm(index, due); });
    connect(engine, &AlarmEngine::scheduleChanged, this, &MainWindow::showNextAlarm);
    // A clock set or a wake-up changes how far off the next ring is.
    connect(&Clock::instance(), &Clock::changed, this, &MainWindow::showNextAlarm);

    updateLamps();
    updateAlarms();
    settingsChanged = storeDamaged;

    auto *saveTimer = new QTimer(this);
    connect(saveTimer, SIGNAL(timeout()), this, SLOT(maybeSaveSettings()));
    saveTimer->start(saveIntervalMs);

    auto *reaimTimer = new QTimer(this);
    connect(reaimTimer, SIGNAL(timeout()), this, SLOT(updateAlarms()));
    reaimTimer->start(reaimIntervalMs);

    updateTime();
    statusbar->addPermanentWidget(&clockLabel, 0);
    missedLabel.setObjectName(QStringLiteral("missedAlarmsLabel"));
    missedLabel.setVisible(false);
    statusbar->addWidget(&missedLabel, 1);
    // A label whose size may change lays the whole window out anew whenever
    // its text changes, every second; one that fits any time never does.
    const QString shownTime = clockLabel.text();
    clockLabel.setText(widestTimeText(clockLabel.fontMetrics()));
    clockLabel.setFixedSize(clockLabel.sizeHint());
    clockLabel.setText(shownTime);

    // Started and stopped as the window shows and hides.
    clockTimer = new QTimer(this);
    connect(clockTimer, SIGNAL(timeout()), this, SLOT(updateTime()));

    QDir::setSearchPaths(
        QStringLiteral("photos"), QStringList { QDir::currentPath() + QLatin1String("/photos") });
    QDir::setSearchPaths(QStringLiteral("translations"),
        QStringList { QDir::currentPath() + QLatin1String("/translations") });

    setupTrayIcon();
    centerOnScreen();
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    action_RestoreWindow->setEnabled(false);

    preparer = new AlarmPreparer(*engine, Clock::instance(), AlarmPreparer::defaultLeadMs, this);
    preparedDialogs = new PreparedAlarmDialogs(
        *preparer, [this](int index) { return alarmTexts.value(index); }, this);

    // Last, when the status bar and the tray icon can tell of missed alarms.
    engine->startWatching(SettingsKeys::readWatchedUntil(QSettings()));
    showNextAlarm();
    preparer->check();
}

MainWindow::~MainWindow()
{
    removeTrayIcon();
    // The status bar does not own its labels, which are members.
    for (QLabel *label : { &clockLabel, &missedLabel }) {
        statusbar->removeWidget(label);
        label->setParent(nullptr);
    }
}

const QTimer *MainWindow::alarmTimer(int index) const
{
    return engine->timer(index);
}

QTimeEdit *MainWindow::timeEdit(int index) const
{
    QTimeEdit *const edits[] = { timeEditAlarm1, timeEditAlarm2, timeEditAlarm3 };
    return edits[index];
}

QCheckBox *MainWindow::enableCheckBox(int index) const
{
    QCheckBox *const boxes[] = { alarm1EnableCheckBox, alarm2EnableCheckBox, alarm3EnableCheckBox };
    return boxes[index];
}

QCheckBox *MainWindow::lockCheckBox(int index) const
{
    QCheckBox *const boxes[] = { alarm1LockCheckBox, alarm2LockCheckBox, alarm3LockCheckBox };
    return boxes[index];
}

QLabel *MainWindow::ledLabel(int index) const
{
    QLabel *const lamps[] = { alarm1LedLabel, alarm2LedLabel, alarm3LedLabel };
    return lamps[index];
}

void MainWindow::loadSettings()
{
    const QSettings settings;
    for (int index = 0; index < alarmCount; ++index)
        timeEdit(index)->setTime(SettingsKeys::readAlarmTime(settings, index + 1));

    alarmArmed.clear();
    for (int index = 0; index < alarmCount; ++index)
        alarmArmed.append(SettingsKeys::readAlarmEnabled(settings, index + 1));

    for (int index = 0; index < alarmCount; ++index)
        lockCheckBox(index)->setChecked(SettingsKeys::readAlarmLocked(settings, index + 1));

    for (int index = 0; index < alarmCount; ++index)
        enableCheckBox(index)->setChecked(alarmArmed[index]);

    alarmTexts.clear();
    for (int index = 0; index < alarmCount; ++index)
        alarmTexts.append(SettingsKeys::readAlarmText(settings, index + 1));

    disableAllCheckBox->setChecked(SettingsKeys::disableAll.read(settings));
    testButtonsSetting = SettingsKeys::showTestAlarm.read(settings);
    storeDamaged = settings.status() == QSettings::FormatError;
}

bool MainWindow::saveSettings()
{
    if (storeDamaged && !SettingsRepair::rewriteClean(SettingsKeys::all()))
        return false;
    storeDamaged = false;
    QSettings settings;
    for (int index = 0; index < alarmCount; ++index)
        settings.setValue(SettingsKeys::alarmTimeKey(index + 1), timeEdit(index)->time());
    for (int index = 0; index < alarmCount; ++index)
        settings.setValue(
            SettingsKeys::alarmEnabledKey(index + 1), enableCheckBox(index)->isChecked());
    for (int index = 0; index < alarmCount; ++index)
        settings.setValue(
            SettingsKeys::alarmLockedKey(index + 1), lockCheckBox(index)->isChecked());
    for (int index = 0; index < alarmCount; ++index)
        settings.setValue(SettingsKeys::alarmTextKey(index + 1), alarmTexts[index]);
    SettingsKeys::disableAll.write(settings, disableAllCheckBox->isChecked());
    SettingsKeys::writeWatchedUntil(settings, engine->watchedUntil());

    // Written now rather than when the store object goes, so that a store
    // that cannot be written (read-only or full) is known and reported.
    settings.sync();
    // A format error comes from reading a file damaged since the last save;
    // the values were written all the same, and the next save cleans up.
    storeDamaged = settings.status() == QSettings::FormatError;
    if (storeDamaged)
        markSettingsChanged();
    return settings.status() != QSettings::AccessError;
}

void MainWindow::markSettingsChanged()
{
    settingsChanged = true;
}

void MainWindow::maybeSaveSettings()
{
    if (!settingsChanged)
        return;
    settingsChanged = false;
    if (saveSettings()) {
        statusbar->showMessage(tr("%1: Saved settings.").arg(currentTimeText()), savedMessageMs);
    } else {
        // Keep the change marked so that the next period tries again, and
        // leave the warning up until then.
        settingsChanged = true;
        statusbar->showMessage(tr("%1: Could not save settings!").arg(currentTimeText()));
    }
}

void MainWindow::updateTime()
{
    clockLabel.setText(currentTimeText());
}

// Nothing shows the clock while the window is hidden, parked in the tray
// above all, so its timer rests and the program sleeps; the clock is set
// right before the window shows again.
void MainWindow::showEvent(QShowEvent *event)
{
    updateTime();
    clockTimer->start(clockIntervalMs);
    QMainWindow::showEvent(event);
}

void MainWindow::hideEvent(QHideEvent *event)
{
    clockTimer->stop();
    // The window showed the missed alarms while it was up; once it goes,
    // they are told.
    if (!missedAlarms.isEmpty()) {
        missedAlarms.clear();
        showMissedAlarms();
    }
    QMainWindow::hideEvent(event);
}

void MainWindow::updateLamps()
{
    for (int index = 0; index < alarmCount; ++index)
        alarmArmed[index] = enableCheckBox(index)->isChecked() && !disableAllCheckBox->isChecked();
    // Through an icon, which takes the lamp's double-size picture where the
    // screen is scaled up.
    for (int index = 0; index < alarmCount; ++index)
        ledLabel(index)->setPixmap(
            QIcon(alarmArmed[index] ? QStringLiteral(":/icons/images/greenled.png")
                                    : QStringLiteral(":/icons/images/redled.png"))
                .pixmap(QSize(16, 16), devicePixelRatioF()));
    // The enable boxes stay checked: screen readers are told why nothing rings.
    const bool allDisabled = disableAllCheckBox->isChecked();
    for (int index = 0; index < alarmCount; ++index)
        enableCheckBox(index)->setAccessibleDescription(
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
    if (index < 0 || index >= alarmCount)
        return;
    engine->setAlarm(index, timeEdit(index)->time(), alarmArmed[index]);
}

void MainWindow::updateAlarms()
{
    for (int index = 0; index < alarmCount; ++index)
        rescheduleAlarm(index);
    engine->check();
    // Every minute: how far off the next ring is changes with the time.
    showNextAlarm();
}

// The engine's timers wake it by themselves; these let anyone ask it to look.
void MainWindow::alarm1Triggered()
{
    engine->check();
}

void MainWindow::alarm2Triggered()
{
    engine->check();
}

void MainWindow::alarm3Triggered()
{
    engine->check();
}

void MainWindow::ringAlarm(int index, const QDateTime &due, qint64 lateMs)
{
    // Kept past the ring as soon as its dialog is on its way to the screen
    // (the store is written and synced to disk, which takes milliseconds), so
    // that a crash in the dialog does not ring the alarm again at the next start.
    QTimer::singleShot(0, this, &MainWindow::writeWatchedUntil);
    const QString dueLine
        = AlarmNotices::dueLine(due.toTimeZone(Clock::instance().timeZone()), lateMs);
    std::unique_ptr<ExpirationDialog> prepared = preparedDialogs->take(index, due);
    // One that rings late (after a sleep) is built anew, with its due line.
    if (!dueLine.isEmpty())
        prepared.reset();
    showAlarm(alarmTexts[index], index + 1, dueLine, std::move(prepared));
}

void MainWindow::noteMissedAlarm(int index, const QDateTime &due)
{
    writeWatchedUntil();
    preparedDialogs->discard(index);
    missedAlarms.append(
        AlarmNotices::missedLine(index + 1, due.toTimeZone(Clock::instance().timeZone())));
    showMissedAlarms();
    // Screen readers do not watch the status bar: the new line is announced.
    QAccessibleEvent announcement(&missedLabel, QAccessible::Alert);
    QAccessible::updateAccessibility(&announcement);
}

void MainWindow::showMissedAlarms()
{
    missedLabel.setText(missedAlarms.join(QLatin1String("; ")));
    missedLabel.setVisible(!missedAlarms.isEmpty());
    if (trayIcon)
        trayIcon->setToolTip(trayToolTip());
}

void MainWindow::showNextAlarm()
{
    const Clock &clock = Clock::instance();
    for (int index = 0; index < alarmCount; ++index)
        ledLabel(index)->setToolTip(
            plainToolTip(NextAlarmText::lampLine(*engine, index, alarmTexts[index], clock)));
    if (!trayIcon)
        return;
    // Only what changed, so that a tray panel is not asked to redraw the
    // same icon every minute.
    const bool armed = engine->soonestAlarm() >= 0;
    if (armed != trayShowsArmed) {
        trayShowsArmed = armed;
        trayIcon->setIcon(TrayPicture::icon(armed));
    }
    const QString toolTip = trayToolTip();
    if (trayIcon->toolTip() != toolTip)
        trayIcon->setToolTip(toolTip);
}

void MainWindow::writeWatchedUntil()
{
    QSettings settings;
    SettingsKeys::writeWatchedUntil(settings, engine->watchedUntil());
}

void MainWindow::showAlarm(const QString &text, int number, const QString &dueLine,
    std::unique_ptr<ExpirationDialog> prepared)
{
    // Re-entrant: another alarm may open its own dialog above this one
    // while this dialog runs its event loop.
    const std::unique_ptr<ExpirationDialog> shown
        = prepared ? std::move(prepared) : std::make_unique<ExpirationDialog>(text, number, this);
    ExpirationDialog &dialog = *shown;
    dialog.setDueLine(dueLine);
    // Sent once the dialog is on its way to the screen, so as not to hold it up.
    AlarmNotification notification;
    const QTime alarmTime = timeEdit(number - 1)->time();
    QTimer::singleShot(0, &notification,
        [&notification, number, text, alarmTime] { notification.send(number, text, alarmTime); });
    dialog.exec();
    notification.withdraw();
}

void MainWindow::on_alarm1EnableCheckBox_toggled()
{
    markSettingsChanged();
    refreshAlarms();
}

void MainWindow::on_alarm2EnableCheckBox_toggled()
{
    markSettingsChanged();
    refreshAlarms();
}

void MainWindow::on_alarm3EnableCheckBox_toggled()
{
    markSettingsChanged();
    refreshAlarms();
}

void MainWindow::on_disableAllCheckBox_toggled()
{
    markSettingsChanged();
    refreshAlarms();
}

void MainWindow::on_alarm1LockCheckBox_toggled()
{
    markSettingsChanged();
}

void MainWindow::on_alarm2LockCheckBox_toggled()
{
    markSettingsChanged();
}

void MainWindow::on_alarm3LockCheckBox_toggled()
{
    markSettingsChanged();
}

void MainWindow::on_timeEditAlarm1_timeChanged(QTime)
{
    if (suppressReactions)
        return;
    markSettingsChanged();
    rescheduleAlarm(0);
}

void MainWindow::on_timeEditAlarm2_timeChanged(QTime)
{
    if (suppressReactions)
        return;
    markSettingsChanged();
    rescheduleAlarm(1);
}

void MainWindow::on_timeEditAlarm3_timeChanged(QTime)
{
    if (suppressReactions)
        return;
    markSettingsChanged();
    rescheduleAlarm(2);
}

void MainWindow::on_alarm1TextToolButton_clicked()
{
    editAlarmText(0);
}

void MainWindow::on_alarm2TextToolButton_clicked()
{
    editAlarmText(1);
}

void MainWindow::on_alarm3TextToolButton_clicked()
{
    editAlarmText(2);
}

void MainWindow::on_alarm1DebugToolButton_clicked()
{
    showAlarm(alarmTexts[0], 1);
}

void MainWindow::on_alarm2DebugToolButton_clicked()
{
    showAlarm(alarmTexts[1], 2);
}

void MainWindow::on_alarm3DebugToolButton_clicked()
{
    showAlarm(alarmTexts[2], 3);
}

void MainWindow::editAlarmText(int index)
{
    if (index < 0 || index >= alarmCount)
        return;
    bool confirmed = false;
    const QString text = QInputDialog::getText(this, tr("Question"),
        tr("Enter text to show when alarm %1 fires:").arg(index + 1), QLineEdit::Normal,
        alarmTexts[index], &confirmed);
    if (confirmed && !text.isEmpty() && text != alarmTexts[index]) {
        markSettingsChanged();
        alarmTexts[index] = text;
        showNextAlarm();
        preparer->renew(index);
    }
}

void MainWindow::setTestButtonsVisible(bool visible)
{
    alarm1DebugToolButton->setVisible(visible);
    alarm2DebugToolButton->setVisible(visible);
    alarm3DebugToolButton->setVisible(visible);
}

void MainWindow::applyTestButtonSetting()
{
    const QSettings settings;
    setTestButtonsVisible(SettingsKeys::showTestAlarm.read(settings));
}

bool MainWindow::trayAvailable() const
{
    return trayHost->isAvailable();
}

void MainWindow::setupTrayIcon()
{
    if (!trayAvailable()) {
        toTrayPushButton->setEnabled(false);
        return;
    }
    toTrayPushButton->setEnabled(true);
    trayHost->commitProtocol();
    trayShowsArmed = engine->soonestAlarm() >= 0;
    trayIcon = new QSystemTrayIcon(TrayPicture::icon(trayShowsArmed), this);
    trayIcon->setToolTip(trayToolTip());
    auto *menu = new QMenu(this);
    menu->addAction(action_RestoreWindow);
    menu->addAction(action_About);
    menu->addSeparator();
    menu->addAction(action_Exit);
    trayIcon->setContextMenu(menu);
    connect(trayIcon, SIGNAL(activated(QSystemTrayIcon::ActivationReason)), this,
        SLOT(trayActivated(QSystemTrayIcon::ActivationReason)));
    trayIcon->setVisible(true);
    // A tray that comes late still tells of the alarms missed before.
    showMissedAlarms();
}

// The program's line, the next alarm under it, then any missed alarms.
QString MainWindow::trayToolTip() const
{
    const QStringList lines { tr("dorvex %1 by Ostrevan").arg(QLatin1String(programVersion)),
        NextAlarmText::trayLine(*engine, Clock::instance()) };
    return (lines + missedAlarms).join(QLatin1Char('\n'));
}

void MainWindow::removeTrayIcon()
{
    if (!trayIcon)
        return;
    trayIcon->setVisible(false);
    trayIcon->deleteLater();
    trayIcon = nullptr;
}

// A tray host that comes after the start gets the icon then; one that goes
// takes the icon with it, and a parked window comes back rather than stay
// out of reach.
void MainWindow::followTrayHost()
{
    if (trayAvailable()) {
        if (!trayIcon)
            setupTrayIcon();
        return;
    }
    if (isParked())
        on_action_RestoreWindow_triggered();
    removeTrayIcon();
    toTrayPushButton->setEnabled(false);
}

void MainWindow::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    // StatusNotifier panels never report a double click: their click
    // restores, and does nothing more to a window that is shown.
    const bool statusNotifier
        = TrayHostWatcher::committedProtocol() == TrayHostWatcher::Protocol::StatusNotifier;
    const bool clickRestores = statusNotifier && (isParked() || isMinimized());
    if (reason == QSystemTrayIcon::DoubleClick
        || (reason == QSystemTrayIcon::Trigger && clickRestores))
        on_action_RestoreWindow_triggered();
}

bool MainWindow::isParked() const
{
    return (windowFlags() & (Qt::WindowType(0x02) | Qt::WindowType(0x10))) != 0;
}

void MainWindow::parkInTray()
{
    // As a sub-window without a parent the window is hidden, and with it its
    // taskbar entry; only the tray icon is left.
    setWindowFlags(Qt::SubWindow);
    action_RestoreWindow->setEnabled(true);
}

void MainWindow::restoreFromTray()
{
    if (!action_RestoreWindow->isEnabled())
        return;
    setWindowFlags(Qt::Window);
    QPoint position = pos();
    position.setX(qMax(0, position.x()));
    position.setY(qMax(0, position.y()));
    move(position);
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    action_RestoreWindow->setEnabled(false);
    setVisible(true);
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
    // Whether the window starts in the tray depends on a tray host the
    // session bus has not told of yet: decide once it has (or timed out).
    if (!trayHost->isSettled()) {
        connect(trayHost, &TrayHostWatcher::settled, this, &MainWindow::showAtStart,
            Qt::SingleShotConnection);
        return;
    }
    const QSettings settings;
    if (trayAvailable() && SettingsKeys::startOnTray.read(settings))
        parkInTray();
    else
        setVisible(true);
}

void MainWindow::centerOnScreen()
{
    // The placement stays with the window, to bring it back to a screen that
    // exists when its own is unplugged.
    auto *placement = new WindowPlacement(this);
    placement->centreOnPrimaryScreen();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() != QEvent::WindowStateChange) {
        event->ignore();
        return;
    }
    const QSettings settings;
    if (trayAvailable() && (windowState() & Qt::WindowMinimized)
        && SettingsKeys::minimizeToTray.read(settings)) {
        parkInTray();
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The session ends the program by closing its windows.
    if (sessionEnding) {
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
    sessionEnding = true;
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
        preparer->renewAll();
    }
    // Start at log-in is switched in the dialog at once, and Reset forgets
    // the answer to the offer, whichever way the dialog ends.
    autostartOffer->refresh();
}
