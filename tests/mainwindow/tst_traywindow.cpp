#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testclock.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimeEdit>
#include <QTimer>

#include <memory>

// The window in a real X session with a window manager and, unless the
// harness leaves it out, a system tray: what is mapped on the screen, what
// the tray icon does, and how the program ends.
namespace {

// Mapped top-level windows titled like the alarm panel, as X sees them.
int mappedPanels()
{
    QProcess xdotool;
    xdotool.start(
        QStringLiteral("xdotool"), { "search", "--onlyvisible", "--name", "^Dorvex 1\\.0\\.2$" });
    xdotool.waitForFinished(30000);
    return QString::fromLatin1(xdotool.readAllStandardOutput())
        .split('\n', Qt::SkipEmptyParts)
        .size();
}

void xdotool(const QStringList &arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

void setOption(const SettingsKeys::BoolOption &option, bool value)
{
    QSettings settings;
    option.write(settings, value);
}

} // namespace

// Macros rather than functions, so that a skip or a failure ends the test
// itself and not only the helper.
#define REQUIRE_TRAY()                                                                             \
    do {                                                                                           \
        if (!QSystemTrayIcon::isSystemTrayAvailable())                                             \
            QSKIP("no system tray in this session");                                               \
    } while (false)

#define SHOW_WINDOW()                                                                              \
    do {                                                                                           \
        window->showAtStart();                                                                     \
        QVERIFY(QTest::qWaitForWindowExposed(window));                                             \
        window->activateWindow();                                                                  \
        QVERIFY(QTest::qWaitForWindowActive(window));                                              \
        QTRY_COMPARE(mappedPanels(), 1);                                                           \
    } while (false)

class TestTrayWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void parkingUnmapsAndRestoringMapsTheWindow();
    void restoredWindowComesBackOnScreen();
    void startInTrayShowsOnlyTheIcon();
    void closeToTrayParksWithoutAsking_data();
    void closeToTrayParksWithoutAsking();
    void exitAsksAndNeverParks_data();
    void exitAsksAndNeverParks();
    void minimiseToTrayParks();
    void exitAnsweredNoChangesNothing();
    void exitAnsweredYesSavesAndEndsWithZero();
    void exitWithAnUnwritableStoreWarnsBeforeEnding();
    void exitFromTheTrayMenuWhileParkedAsksWithoutParent();
    void onlyADoubleClickOnTheIconRestores();
    void aboutFromTheTrayRestoresFirst();
    void statusClockIsRightWhenTheWindowShowsAgain_data();
    void statusClockIsRightWhenTheWindowShowsAgain();
    void statusClockHasRoomForEveryTime();
    void withoutATray();

private:
    template<typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    bool parked() const { return child<QAction>("action_RestoreWindow")->isEnabled(); }
    QLabel *statusClockLabel() const;
    QString statusClock() const;

    MainWindow *window = nullptr;
};

void TestTrayWindow::init()
{
    TestEnvironment::instance().reset();
    window = new MainWindow(false);
}

void TestTrayWindow::cleanup()
{
    delete window;
    window = nullptr;
    QTRY_COMPARE(mappedPanels(), 0);
}

// The permanent clock at the right of the status bar.
QLabel *TestTrayWindow::statusClockLabel() const
{
    const QList<QLabel *> labels = window->statusBar()->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (QTime::fromString(label->text(), Qt::TextDate).isValid())
            return label;
    }
    return nullptr;
}

QString TestTrayWindow::statusClock() const
{
    const QLabel *label = statusClockLabel();
    return label ? label->text() : QString();
}

void TestTrayWindow::parkingUnmapsAndRestoringMapsTheWindow()
{
    REQUIRE_TRAY();
    SHOW_WINDOW();
    QVERIFY(!parked());
    child<QPushButton>("toTrayPushButton")->click();
    QVERIFY(parked());
    QVERIFY(!window->isVisible());
    QTRY_COMPARE(mappedPanels(), 0);
    auto *tray = window->findChild<QSystemTrayIcon *>();
    QVERIFY(tray && tray->isVisible());

    child<QAction>("action_RestoreWindow")->trigger();
    QVERIFY(!parked());
    QTRY_COMPARE(mappedPanels(), 1);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isMinimized());
    QTRY_VERIFY(window->isActiveWindow());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::Window);
}

void TestTrayWindow::restoredWindowComesBackOnScreen()
{
    REQUIRE_TRAY();
    SHOW_WINDOW();
    window->move(-120, -60);
    QTRY_VERIFY(window->pos().x() < 0 || window->pos().y() < 0);
    child<QPushButton>("toTrayPushButton")->click();
    child<QAction>("action_RestoreWindow")->trigger();
    QTRY_COMPARE(mappedPanels(), 1);
    QVERIFY(window->pos().x() >= 0);
    QVERIFY(window->pos().y() >= 0);
}

void TestTrayWindow::startInTrayShowsOnlyTheIcon()
{
    REQUIRE_TRAY();
    setOption(SettingsKeys::startOnTray, true);
    window->showAtStart();
    QTest::qWait(300);
    QCOMPARE(mappedPanels(), 0);
    QVERIFY(parked());
    auto *tray = window->findChild<QSystemTrayIcon *>();
    QVERIFY(tray && tray->isVisible());
    QTRY_VERIFY(tray->geometry().isValid());
    // The program's line first; the next alarm is told under it.
    QCOMPARE(tray->toolTip().section(QLatin1Char('\n'), 0, 0),
        QStringLiteral("dorvex 1.0.2 by Ostrevan"));
    QStringList entries;
    for (QAction *action : tray->contextMenu()->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    QCOMPARE(entries, (QStringList { "action_RestoreWindow", "action_About", "-", "action_Exit" }));
}

void TestTrayWindow::closeToTrayParksWithoutAsking_data()
{
    QTest::addColumn<bool>("logOutCancelled");
    QTest::newRow("first close") << false;
    QTest::newRow("after the session asked to save, then stayed") << true;
}

void TestTrayWindow::closeToTrayParksWithoutAsking()
{
    QFETCH(bool, logOutCancelled);
    REQUIRE_TRAY();
    setOption(SettingsKeys::closeToTray, true);
    SHOW_WINDOW();
    if (logOutCancelled) {
        window->commitSessionData();
        QCoreApplication::processEvents();
    }
    ModalAnswerer unexpected(ModalAnswerer::pressButton(QMessageBox::No), 1500);
    // The window manager's close, as from the title bar.
    xdotool({ "key", "--window", QString::number(window->winId()), "alt+F4" });
    QTRY_VERIFY(parked());
    QTRY_COMPARE(mappedPanels(), 0);
    QTest::qWait(1600);
    QVERIFY(!unexpected.answered());
}

void TestTrayWindow::exitAsksAndNeverParks_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("File menu") << "menu";
    QTest::newRow("Ctrl+Q") << "shortcut";
    QTest::newRow("exit button") << "button";
    QTest::newRow("tray menu") << "tray";
}

void TestTrayWindow::exitAsksAndNeverParks()
{
    QFETCH(QString, route);
    REQUIRE_TRAY();
    setOption(SettingsKeys::closeToTray, true);
    SHOW_WINDOW();
    ModalAnswerer no(ModalAnswerer::pressButton(QMessageBox::No));
    if (route == QLatin1String("menu")) {
        child<QMenu>("menu_File")->actions().last()->trigger();
    } else if (route == QLatin1String("shortcut")) {
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    } else if (route == QLatin1String("button")) {
        child<QPushButton>("exitPushButton")->click();
    } else {
        QTRY_VERIFY(window->findChild<QSystemTrayIcon *>()); // comes after the first frame
        window->findChild<QSystemTrayIcon *>()->contextMenu()->actions().last()->trigger();
    }
    QVERIFY(no.answered());
    QCOMPARE(no.dialogText(), QStringLiteral("Dou you want to exit?"));
    QVERIFY(!parked());
    QTRY_COMPARE(mappedPanels(), 1); // X may list it late, as the question closes
}

void TestTrayWindow::minimiseToTrayParks()
{
    REQUIRE_TRAY();
    setOption(SettingsKeys::minimizeToTray, true);
    SHOW_WINDOW();
    window->showMinimized();
    QTRY_VERIFY(parked());
    QTRY_COMPARE(mappedPanels(), 0);

    child<QAction>("action_RestoreWindow")->trigger();
    QTRY_COMPARE(mappedPanels(), 1);
    QTRY_VERIFY(!window->isMinimized());
    QTRY_VERIFY(window->isActiveWindow());
}

void TestTrayWindow::exitAnsweredNoChangesNothing()
{
    SHOW_WINDOW();
    child<QCheckBox>("alarm1EnableCheckBox")->setChecked(true);
    ModalAnswerer no(ModalAnswerer::pressButton(QMessageBox::No));
    child<QPushButton>("exitPushButton")->click();
    QVERIFY(no.answered());
    QCOMPARE(no.dialogParent(), window);
    auto *box = qobject_cast<QMessageBox *>(no.dialog());
    QVERIFY(!box || box->defaultButton() == box->button(QMessageBox::No));
    QTRY_COMPARE(mappedPanels(), 1);
    QVERIFY(QSettings().allKeys().isEmpty());
}

void TestTrayWindow::exitAnsweredYesSavesAndEndsWithZero()
{
    SHOW_WINDOW();
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    ModalAnswerer yes([&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        defaultButton = box->standardButton(box->defaultButton());
        box->button(QMessageBox::Yes)->click();
    });
    QTimer::singleShot(0, window, [this] { child<QAction>("action_Exit")->trigger(); });
    const int exitCode = QCoreApplication::exec();
    QVERIFY(yes.answered());
    QCOMPARE(defaultButton, QMessageBox::No);
    QCOMPARE(exitCode, 0);
    // Saved although nothing had changed.
    QSettings settings;
    QCOMPARE(settings.value(SettingsKeys::alarmTextKey(1)).toString(), QStringLiteral("alarm 1"));
    QCOMPARE(settings.value(SettingsKeys::alarmTimeKey(3)).toTime(), QTime(0, 0));
}

void TestTrayWindow::exitWithAnUnwritableStoreWarnsBeforeEnding()
{
    SHOW_WINDOW();
    QVERIFY(TestEnvironment::instance().blockStore());
    std::unique_ptr<ModalAnswerer> warning;
    ModalAnswerer yes([&](QWidget *dialog) {
        warning = std::make_unique<ModalAnswerer>(ModalAnswerer::pressButton(QMessageBox::Ok));
        qobject_cast<QMessageBox *>(dialog)->button(QMessageBox::Yes)->click();
    });
    QTimer::singleShot(0, window, [this] { child<QPushButton>("exitPushButton")->click(); });
    const int exitCode = QCoreApplication::exec();
    TestEnvironment::instance().unblockStore();
    QVERIFY(yes.answered());
    QVERIFY(warning && warning->answered());
    QCOMPARE(warning->dialogParent(), window);
    QVERIFY2(warning->dialogText().contains(QLatin1String("could not be saved")),
        qPrintable(warning->dialogText()));
    QCOMPARE(exitCode, 0);
}

void TestTrayWindow::exitFromTheTrayMenuWhileParkedAsksWithoutParent()
{
    REQUIRE_TRAY();
    SHOW_WINDOW();
    child<QPushButton>("toTrayPushButton")->click();
    ModalAnswerer no(ModalAnswerer::pressButton(QMessageBox::No));
    window->findChild<QSystemTrayIcon *>()->contextMenu()->actions().last()->trigger();
    QVERIFY(no.answered());
    QCOMPARE(no.dialogParent(), nullptr);
    QVERIFY(parked());
    QCOMPARE(mappedPanels(), 0);
}

void TestTrayWindow::onlyADoubleClickOnTheIconRestores()
{
    REQUIRE_TRAY();
    setOption(SettingsKeys::startOnTray, true);
    window->showAtStart();
    auto *tray = window->findChild<QSystemTrayIcon *>();
    // The icon reports its place once the tray host has embedded it, at the
    // bottom right of the screen.
    QTRY_VERIFY(tray->geometry().isValid() && tray->geometry().topLeft() != QPoint(0, 0));
    const QPoint centre = tray->geometry().center();

    xdotool({ "mousemove", QString::number(centre.x()), QString::number(centre.y()) });
    xdotool({ "click", "1" });
    QTest::qWait(800);
    QVERIFY(parked());
    QCOMPARE(mappedPanels(), 0);

    xdotool({ "click", "--repeat", "2", "--delay", "80", "1" });
    QTRY_VERIFY(!parked());
    QTRY_COMPARE(mappedPanels(), 1);
}

void TestTrayWindow::aboutFromTheTrayRestoresFirst()
{
    REQUIRE_TRAY();
    setOption(SettingsKeys::startOnTray, true);
    window->showAtStart();
    QVERIFY(parked());
    bool windowWasBack = false;
    ModalAnswerer about([&](QWidget *dialog) {
        windowWasBack = window->isVisible() && !parked() && mappedPanels() == 1;
        QCOMPARE(dialog->parentWidget(), window);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("About Dorvex 1.0.2"));
        QVERIFY(qobject_cast<QMessageBox *>(dialog)->text().startsWith(
            QLatin1String("Dorvex 1.0.2 by Ostrevan\n\n")));
        qobject_cast<QMessageBox *>(dialog)->accept();
    });
    window->findChild<QSystemTrayIcon *>()->contextMenu()->actions().at(1)->trigger();
    QVERIFY(about.answered());
    QVERIFY(windowWasBack);
}

void TestTrayWindow::statusClockIsRightWhenTheWindowShowsAgain_data()
{
    QTest::addColumn<bool>("startInTray");
    QTest::newRow("parked by the button") << false;
    QTest::newRow("started in the tray") << true;
}

void TestTrayWindow::statusClockIsRightWhenTheWindowShowsAgain()
{
    QFETCH(bool, startInTray);
    // Skipped here rather than in a helper, whose skip would end only the helper.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("no system tray in this session");
    TestClock clock(QDateTime(QDate(2027, 1, 12), QTime(8, 0), Qt::UTC));
    Clock::install(&clock);
    const auto systemClockAgain = qScopeGuard([] { Clock::install(nullptr); });
    if (startInTray) {
        setOption(SettingsKeys::startOnTray, true);
        window->showAtStart();
    } else {
        SHOW_WINDOW();
        QTRY_COMPARE(statusClock(), clock.localNow().time().toString(Qt::TextDate));
        child<QPushButton>("toTrayPushButton")->click();
    }
    QVERIFY(parked());
    // Long enough in the tray for a clock left as it was to be visibly wrong.
    clock.runOn(4500);

    child<QAction>("action_RestoreWindow")->trigger();
    QCOMPARE(statusClock(), clock.localNow().time().toString(Qt::TextDate));

    // And it goes on ticking.
    clock.runOn(1000);
    QTRY_COMPARE(statusClock(), clock.localNow().time().toString(Qt::TextDate));
}

void TestTrayWindow::statusClockHasRoomForEveryTime()
{
    SHOW_WINDOW();
    const QLabel *clock = statusClockLabel();
    QVERIFY(clock);
    QVERIFY(clock->isVisible());
    for (char digit = '0'; digit <= '9'; ++digit) {
        const QString time = QString::fromLatin1("%1%1:%1%1:%1%1").arg(QLatin1Char(digit));
        QVERIFY2(clock->fontMetrics().horizontalAdvance(time) <= clock->contentsRect().width(),
            qPrintable(time));
    }
}

void TestTrayWindow::withoutATray()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("this session has a system tray");
    setOption(SettingsKeys::startOnTray, true);
    setOption(SettingsKeys::minimizeToTray, true);
    setOption(SettingsKeys::closeToTray, true);
    QVERIFY(!window->findChild<QSystemTrayIcon *>());
    QVERIFY(!child<QPushButton>("toTrayPushButton")->isEnabled());

    SHOW_WINDOW();
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    // Iconified by the window manager, not parked.
    QTRY_COMPARE(mappedPanels(), 0);
    QVERIFY(!parked());
    window->showNormal();
    QTRY_COMPARE(mappedPanels(), 1);

    ModalAnswerer no(ModalAnswerer::pressButton(QMessageBox::No));
    window->close();
    QVERIFY(no.answered());
    QVERIFY(!parked());
}

DORVEX_TEST_MAIN(TestTrayWindow)
#include "tst_traywindow.moc"
