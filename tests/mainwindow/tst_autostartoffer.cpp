#include "autostartentry.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QSettings>

#include <memory>

// The main window's one-time offer to start at log-in: when it shows, what
// each answer leaves, and that only a reset of the settings brings it back.
class TestAutostartOffer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void shownOnlyWhenWanted_data();
    void shownOnlyWhenWanted();
    void answersAreKept_data();
    void answersAreKept();

private:
    void newWindow() { window = std::make_unique<MainWindow>(false); }
    QWidget *bar() const { return window->findChild<QWidget *>("autostartOfferFrame"); }
    bool shown() const { return bar()->isVisibleTo(window.get()); }
    void arm() { window->findChild<QCheckBox *>("alarm2EnableCheckBox")->setChecked(true); }

    std::unique_ptr<MainWindow> window;
};

static const QString answerKey = QLatin1String(SettingsKeys::autostartOfferAnswered.key);

void TestAutostartOffer::init()
{
    window.reset();
    TestEnvironment::instance().reset();
    QDir(AutostartEntry::defaultFolder()).removeRecursively();
    QFile::remove(AutostartEntry::defaultFolder());
}

void TestAutostartOffer::shownOnlyWhenWanted_data()
{
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("entryOn");
    QTest::newRow("first time") << false << false;
    QTest::newRow("answered before") << true << false;
    QTest::newRow("starting at log-in already") << false << true;
}

void TestAutostartOffer::shownOnlyWhenWanted()
{
    QFETCH(bool, answered);
    QFETCH(bool, entryOn);
    QSettings().setValue(SettingsKeys::alarmEnabledKey(1), true);
    QSettings().setValue(answerKey, answered);
    QVERIFY(AutostartEntry().setEnabled(entryOn));

    // Armed at start, or later: a line in the status bar, the window as it was.
    const bool wanted = !answered && !entryOn;
    newWindow();
    QCOMPARE(shown(), wanted);
    QCOMPARE(window->size(), QSize(482, 308));
    QSettings().setValue(SettingsKeys::alarmEnabledKey(1), false);
    newWindow();
    QVERIFY(!shown());
    arm();
    QCOMPARE(shown(), wanted);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->size(), QSize(482, 308));
    if (!wanted)
        return;
    // Whole, below the form, which keeps the room of every control.
    QWidget *form = window->centralWidget();
    const QRect barInWindow(bar()->mapTo(window.get(), QPoint()), bar()->size());
    QVERIFY(window->rect().contains(barInWindow));
    QVERIFY(barInWindow.top() > form->geometry().bottom());
    for (const QWidget *control :
        form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->isVisibleTo(form))
            QVERIFY2(form->rect().contains(control->geometry()), qPrintable(control->objectName()));
    }
    for (const QPushButton *button : bar()->findChildren<QPushButton *>())
        QVERIFY(button->width() >= button->sizeHint().width());
}

void TestAutostartOffer::answersAreKept_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("folderBlocked");
    QTest::newRow("start at log-in") << "autostartOfferAcceptButton" << false;
    QTest::newRow("no, thanks") << "autostartOfferDismissButton" << false;
    QTest::newRow("start, folder blocked") << "autostartOfferAcceptButton" << true;
}

void TestAutostartOffer::answersAreKept()
{
    QFETCH(QString, button);
    QFETCH(bool, folderBlocked);
    if (folderBlocked)
        QVERIFY(QFile(AutostartEntry::defaultFolder()).open(QIODevice::WriteOnly));
    newWindow();
    arm();
    {
        ModalAnswerer warning(ModalAnswerer::pressButton(QMessageBox::Ok));
        window->findChild<QPushButton *>(button)->click();
        // A failure is said, and the offer stays for another try.
        QCOMPARE(warning.answered(), folderBlocked);
    }
    QCOMPARE(shown(), folderBlocked);
    QCOMPARE(QSettings().contains(answerKey), !folderBlocked);
    QCOMPARE(AutostartEntry().isEnabled(), button.contains("Accept") && !folderBlocked);
    if (folderBlocked)
        return;

    // Not again, not even at a new start with the entry gone; but after a reset.
    QVERIFY(AutostartEntry().setEnabled(false));
    newWindow();
    arm();
    QVERIFY(!shown());
    QSettings().clear();
    ModalAnswerer settings([](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    QMetaObject::invokeMethod(window.get(), "on_action_Settings_triggered");
    QVERIFY(shown());
}

DORVEX_TEST_MAIN(TestAutostartOffer)
#include "tst_autostartoffer.moc"
