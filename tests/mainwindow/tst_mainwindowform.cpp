#include "mainwindow.h"
#include "settingskeys.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimeEdit>
#include <QToolButton>

// The alarm panel as the user first sees it: every control in its place,
// with its text, tool tip, shortcut and keyboard order.
class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fixedSize();
    void widgetsInCreationOrderAndPlace();
    void rowTexts_data();
    void rowTexts();
    void actionsAndMenus();
    void tabOrder();
    void buddiesMoveFocusToTheTimeEdits();
    void lockGreysOutTimeAndTextOnly();
    void everyExitRouteTriggersExitOnce();
    void freshFormState();

private:
    template<typename T> T *child(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    MainWindow *window = nullptr;
};

void TestMainWindowForm::init()
{
    TestEnvironment::instance().reset();
    window = new MainWindow(false);
}

void TestMainWindowForm::cleanup()
{
    delete window;
    window = nullptr;
}

void TestMainWindowForm::fixedSize()
{
    QCOMPARE(window->size(), QSize(482, 308));
    QCOMPARE(window->minimumSize(), QSize(482, 308));
    QCOMPARE(window->maximumSize(), QSize(482, 308));
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QVERIFY(!window->windowIcon().isNull());
}

void TestMainWindowForm::widgetsInCreationOrderAndPlace()
{
    struct Expected
    {
        const char *name;
        const char *className;
        QRect geometry;
    };
    const QList<Expected> expected {
        { "alarm1Label", "QLabel", { 30, 10, 141, 16 } },
        { "alarm2Label", "QLabel", { 30, 80, 141, 16 } },
        { "alarm3Label", "QLabel", { 30, 150, 141, 16 } },
        { "alarm1LockCheckBox", "QCheckBox", { 270, 30, 81, 20 } },
        { "alarm1EnableCheckBox", "QCheckBox", { 360, 30, 71, 20 } },
        { "alarm2LockCheckBox", "QCheckBox", { 270, 100, 81, 20 } },
        { "alarm2EnableCheckBox", "QCheckBox", { 360, 100, 71, 20 } },
        { "alarm3LockCheckBox", "QCheckBox", { 270, 170, 81, 20 } },
        { "alarm3EnableCheckBox", "QCheckBox", { 360, 170, 71, 18 } },
        { "toTrayPushButton", "QPushButton", { 370, 230, 91, 26 } },
        { "exitPushButton", "QPushButton", { 270, 230, 91, 24 } },
        { "timeEditAlarm1", "QTimeEdit", { 40, 30, 118, 22 } },
        { "timeEditAlarm2", "QTimeEdit", { 40, 100, 118, 22 } },
        { "timeEditAlarm3", "QTimeEdit", { 40, 170, 118, 22 } },
        { "line", "QFrame", { 20, 60, 451, 16 } },
        { "line_2", "QFrame", { 20, 130, 451, 16 } },
        { "line_3", "QFrame", { 20, 200, 451, 16 } },
        { "disableAllCheckBox", "QCheckBox", { 10, 240, 251, 18 } },
        { "alarm1TextToolButton", "QToolButton", { 160, 30, 25, 20 } },
        { "alarm2TextToolButton", "QToolButton", { 160, 100, 25, 20 } },
        { "alarm3TextToolButton", "QToolButton", { 160, 170, 25, 20 } },
        { "alarm1LedLabel", "QLabel", { 440, 30, 21, 16 } },
        { "alarm2LedLabel", "QLabel", { 440, 100, 21, 16 } },
        { "alarm3LedLabel", "QLabel", { 440, 170, 21, 16 } },
        { "analogClock1", "MyAnalogClock", { 200, 10, 51, 51 } },
        { "analogClock2", "MyAnalogClock", { 200, 80, 51, 51 } },
        { "analogClock3", "MyAnalogClock", { 200, 150, 51, 51 } },
        { "alarm1DebugToolButton", "QToolButton", { 10, 30, 25, 22 } },
        { "alarm2DebugToolButton", "QToolButton", { 10, 100, 25, 22 } },
        { "alarm3DebugToolButton", "QToolButton", { 10, 170, 25, 22 } },
    };
    QWidget *central = window->centralWidget();
    QCOMPARE(central->objectName(), QStringLiteral("centralwidget"));
    QStringList created;
    for (QObject *object : central->children())
        created << object->objectName();
    QStringList names;
    for (const Expected &item : expected)
        names << QLatin1String(item.name);
    QCOMPARE(created, names);

    for (const Expected &item : expected) {
        auto *widget = central->findChild<QWidget *>(QLatin1String(item.name));
        QVERIFY(widget);
        QCOMPARE(widget->metaObject()->className(), item.className);
        QCOMPARE(widget->geometry(), item.geometry);
    }
    for (const char *name : { "line", "line_2", "line_3" }) {
        auto *line = child<QFrame>(name);
        QCOMPARE(line->frameShape(), QFrame::HLine);
        QCOMPARE(line->frameShadow(), QFrame::Sunken);
    }
    QVERIFY(child<QPushButton>("toTrayPushButton")->isDefault());
    QCOMPARE(
        static_cast<QMainWindow *>(window)->statusBar()->objectName(), QStringLiteral("statusbar"));
    QCOMPARE(
        static_cast<QMainWindow *>(window)->menuBar()->objectName(), QStringLiteral("menuBar"));
}

void TestMainWindowForm::rowTexts_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("alarm 1") << 1;
    QTest::newRow("alarm 2") << 2;
    QTest::newRow("alarm 3") << 3;
}

void TestMainWindowForm::rowTexts()
{
    QFETCH(int, number);
    auto name = [number](const char *pattern) {
        return QString::fromLatin1(pattern).arg(number).toLatin1();
    };
    const QString digit = QString::number(number);

    QCOMPARE(child<QLabel>(name("alarm%1Label"))->text(), "Alarm &" + digit);
    auto *lock = child<QCheckBox>(name("alarm%1LockCheckBox"));
    QCOMPARE(lock->text(), QStringLiteral("Lock"));
    QCOMPARE(lock->toolTip(), "When checked, disallow modifications on alarm " + digit);
    auto *enable = child<QCheckBox>(name("alarm%1EnableCheckBox"));
    QCOMPARE(enable->text(), QStringLiteral("Enable"));
    QCOMPARE(enable->toolTip(), "When checked, enable alarm " + digit);
    auto *timeEdit = child<QTimeEdit>(name("timeEditAlarm%1"));
    QCOMPARE(timeEdit->displayFormat(), QStringLiteral("hh:mm:ss"));
    auto *textButton = child<QToolButton>(name("alarm%1TextToolButton"));
    QCOMPARE(textButton->toolTip(), "Set alarm " + digit + " text");
    QCOMPARE(textButton->text(), QString());
    QVERIFY(!textButton->icon().isNull());
    auto *testButton = child<QToolButton>(name("alarm%1DebugToolButton"));
    QCOMPARE(testButton->toolTip(), "Test alarm " + digit);
    QCOMPARE(testButton->text(), QString());
    QVERIFY(!testButton->icon().isNull());
    auto *lamp = child<QLabel>(name("alarm%1LedLabel"));
    QCOMPARE(lamp->text(), QString());
    QCOMPARE(
        lamp->pixmap().toImage(), QPixmap(QStringLiteral(":/icons/images/redled.png")).toImage());
}

void TestMainWindowForm::actionsAndMenus()
{
    struct Expected
    {
        const char *name;
        const char *text;
        const char *shortcut;
        bool hasIcon;
    };
    const QList<Expected> expected {
        { "action_About", "&About", "", true },
        { "action_Exit", "&Exit", "Ctrl+Q", true },
        { "action_About_Qt", "About &Qt", "", false },
        { "action_RestoreWindow", "&Restore window", "", true },
        { "action_Settings", "Settings", "Ctrl+S", true },
        { "action_Help", "Help", "F1", true },
    };
    QStringList actionOrder;
    for (QObject *object : window->children())
        if (qobject_cast<QAction *>(object) && object->parent() == window)
            actionOrder << object->objectName();
    QStringList expectedOrder;
    for (const Expected &item : expected) {
        expectedOrder << QLatin1String(item.name);
        auto *action = child<QAction>(item.name);
        QCOMPARE(action->text(), QString::fromUtf8(item.text));
        QCOMPARE(action->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut)));
        QCOMPARE(!action->icon().isNull(), item.hasIcon);
    }
    QCOMPARE(actionOrder.mid(0, 6), expectedOrder);
    QCOMPARE(child<QAction>("action_Exit")->toolTip(), QStringLiteral("Exit"));
    QCOMPARE(child<QAction>("action_Exit")->statusTip(), QStringLiteral("Quit application"));
    QCOMPARE(
        child<QAction>("action_Settings")->statusTip(), QStringLiteral("Application settings"));
    QCOMPARE(child<QAction>("action_Settings")->iconText(), QStringLiteral("Settings"));

    auto *toTray = child<QPushButton>("toTrayPushButton");
    QCOMPARE(toTray->text(), QStringLiteral("To &tray"));
    QCOMPARE(toTray->toolTip(), QStringLiteral("Send application to tray"));
    QCOMPARE(toTray->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    auto *exit = child<QPushButton>("exitPushButton");
    QCOMPARE(exit->text(), QStringLiteral("E&xit"));
    QCOMPARE(exit->toolTip(), QStringLiteral("Quit application"));
    auto *disableAll = child<QCheckBox>("disableAllCheckBox");
    QCOMPARE(disableAll->text(), QStringLiteral("&Disable all alarms"));
    QCOMPARE(disableAll->toolTip(), QStringLiteral("When checked, disable all alarms"));

    const QList<QAction *> menus = static_cast<QMainWindow *>(window)->menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->menu()->objectName(), QStringLiteral("menu_File"));
    QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
    QCOMPARE(menus[1]->menu()->objectName(), QStringLiteral("menu_Help"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Help"));

    auto entries = [](QMenu *menu) {
        QStringList names;
        for (QAction *action : menu->actions())
            names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        return names;
    };
    QCOMPARE(entries(menus[0]->menu()), (QStringList { "action_Settings", "-", "action_Exit" }));
    QCOMPARE(entries(menus[1]->menu()),
        (QStringList { "action_Help", "-", "action_About", "action_About_Qt" }));
}

void TestMainWindowForm::tabOrder()
{
    QStringList expected {
        "alarm1DebugToolButton",
        "timeEditAlarm1",
        "alarm1TextToolButton",
        "alarm1LockCheckBox",
        "alarm1EnableCheckBox",
        "alarm2DebugToolButton",
        "timeEditAlarm2",
        "alarm2TextToolButton",
        "alarm2LockCheckBox",
        "alarm2EnableCheckBox",
        "alarm3DebugToolButton",
        "timeEditAlarm3",
        "alarm3TextToolButton",
        "alarm3LockCheckBox",
        "alarm3EnableCheckBox",
        "disableAllCheckBox",
        "exitPushButton",
        "toTrayPushButton",
    };
    // Without a system tray the To-tray button is disabled and left out.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        expected.removeLast();
    // The test buttons take part in the order only when they are shown.
    delete window;
    {
        QSettings settings;
        SettingsKeys::showTestAlarm.write(settings, true);
    }
    window = new MainWindow(true);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    child<QWidget>("alarm1DebugToolButton")->setFocus(Qt::OtherFocusReason);

    // What the user sees: where the focus goes on each press of Tab. The
    // time edits take the focus through their inner line edit, and Tab
    // first walks through their hour, minute and second fields.
    auto focused = []() {
        QWidget *widget = QApplication::focusWidget();
        if (widget && widget->parentWidget()
            && widget->parentWidget()->objectName().startsWith(QLatin1String("timeEdit")))
            widget = widget->parentWidget();
        return widget ? widget->objectName() : QString();
    };
    QStringList visited { focused() };
    for (int i = 1; i < expected.size(); ++i) {
        const QString before = focused();
        for (int press = 0; press < 4 && focused() == before; ++press)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focused();
    }
    QCOMPARE(visited, expected);
}

void TestMainWindowForm::buddiesMoveFocusToTheTimeEdits()
{
    for (int number = 1; number <= 3; ++number) {
        auto *label = child<QLabel>(QStringLiteral("alarm%1Label").arg(number).toLatin1());
        QCOMPARE(label->buddy()->objectName(), QStringLiteral("timeEditAlarm%1").arg(number));
    }
}

void TestMainWindowForm::lockGreysOutTimeAndTextOnly()
{
    auto *lock = child<QCheckBox>("alarm2LockCheckBox");
    auto *timeEdit = child<QTimeEdit>("timeEditAlarm2");
    auto *textButton = child<QToolButton>("alarm2TextToolButton");
    auto *enable = child<QCheckBox>("alarm2EnableCheckBox");
    auto *testButton = child<QToolButton>("alarm2DebugToolButton");

    lock->setChecked(true);
    QVERIFY(!timeEdit->isEnabled());
    QVERIFY(!textButton->isEnabled());
    QVERIFY(enable->isEnabled());
    QVERIFY(testButton->isEnabled());
    QVERIFY(child<QTimeEdit>("timeEditAlarm1")->isEnabled());
    QVERIFY(child<QTimeEdit>("timeEditAlarm3")->isEnabled());

    lock->setChecked(false);
    QVERIFY(timeEdit->isEnabled());
    QVERIFY(textButton->isEnabled());
}

void TestMainWindowForm::everyExitRouteTriggersExitOnce()
{
    auto *exitAction = child<QAction>("action_Exit");
    // Nothing must leave the test: count the triggers and keep the window.
    exitAction->disconnect(window);
    QSignalSpy triggered(exitAction, &QAction::triggered);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    child<QPushButton>("exitPushButton")->click();
    QCOMPARE(triggered.count(), 1);

    QMenu *fileMenu = child<QMenu>("menu_File");
    fileMenu->actions().last()->trigger();
    QCOMPARE(triggered.count(), 2);

    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(triggered.count(), 3);
}

void TestMainWindowForm::freshFormState()
{
    for (QCheckBox *box : window->findChildren<QCheckBox *>())
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    for (QTimeEdit *edit : window->findChildren<QTimeEdit *>())
        QCOMPARE(edit->time(), QTime(0, 0));
    QCOMPARE(window->windowTitle(), QStringLiteral("Dorvex 1.0.2"));
}

DORVEX_TEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
