#include "autostartentry.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QSettings>

#include <memory>

// The main window's one-time offer to start at log-in: when it shows, what
// each answer leaves behind, and that nothing brings it back after an answer
// but a reset of the settings.
class TestAutostartOffer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void shownAtStartOnlyWhenWanted_data();
    void shownAtStartOnlyWhenWanted();
    void answersAreKept_data();
    void answersAreKept();
    void unwritableFolderKeepsTheOffer();
    void resetBringsTheOfferBack();

private:
    void newWindow();
    bool offerShown() const { return bar()->isVisibleTo(window.get()); }
    QFrame *bar() const { return window->findChild<QFrame *>("autostartOfferFrame"); }
    QPushButton *button(const char *name) const { return window->findChild<QPushButton *>(name); }
    QCheckBox *enableBox() const { return window->findChild<QCheckBox *>("alarm2EnableCheckBox"); }

    std::unique_ptr<MainWindow> window;
};

static constexpr int formHeight = 308;

static void setOption(const SettingsKeys::BoolOption &option, bool value)
{
    QSettings settings;
    option.write(settings, value);
}

static bool answerStored()
{
    const QSettings settings;
    return settings.contains(QLatin1String(SettingsKeys::autostartOfferAnswered.key));
}

void TestAutostartOffer::init()
{
    window.reset();
    TestEnvironment::instance().reset();
    QDir(AutostartEntry::defaultFolder()).removeRecursively();
    QFile::remove(AutostartEntry::defaultFolder());
}

void TestAutostartOffer::newWindow()
{
    window = std::make_unique<MainWindow>(false);
}

void TestAutostartOffer::shownAtStartOnlyWhenWanted_data()
{
    QTest::addColumn<bool>("armed");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("entryOn");
    QTest::addColumn<bool>("shown");
    QTest::newRow("nothing armed") << false << false << false << false;
    QTest::newRow("armed") << true << false << false << true;
    QTest::newRow("armed, answered before") << true << true << false << false;
    QTest::newRow("armed, already starting at log-in") << true << false << true << false;
}

void TestAutostartOffer::shownAtStartOnlyWhenWanted()
{
    QFETCH(bool, armed);
    QFETCH(bool, answered);
    QFETCH(bool, entryOn);
    QFETCH(bool, shown);
    {
        QSettings settings;
        settings.setValue(SettingsKeys::alarmEnabledKey(1), armed);
    }
    if (answered)
        setOption(SettingsKeys::autostartOfferAnswered, true);
    QVERIFY(AutostartEntry().setEnabled(entryOn));

    newWindow();
    QCOMPARE(offerShown(), shown);
    QCOMPARE(window->height(), shown ? formHeight + bar()->height() : formHeight);
    if (shown) {
        // The bar fits below the alarms, inside the grown window.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(bar()->geometry().bottom() < window->centralWidget()->height());
        QVERIFY(bar()->geometry().top()
            > window->findChild<QWidget *>("toTrayPushButton")->geometry().bottom());
    }
}

void TestAutostartOffer::answersAreKept_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("entryOn");
    QTest::newRow("start at log-in") << "autostartOfferAcceptButton" << true;
    QTest::newRow("no, thanks") << "autostartOfferDismissButton" << false;
}

void TestAutostartOffer::answersAreKept()
{
    QFETCH(QString, button);
    QFETCH(bool, entryOn);
    newWindow();
    QVERIFY(!offerShown());

    // Arming an alarm later offers it too.
    enableBox()->setChecked(true);
    QVERIFY(offerShown());
    this->button(qPrintable(button))->click();

    QVERIFY(!offerShown());
    QCOMPARE(window->height(), formHeight);
    QCOMPARE(AutostartEntry().isEnabled(), entryOn);
    QVERIFY(answerStored());

    // Neither arming again nor a new start asks again, even with the entry gone.
    QVERIFY(AutostartEntry().setEnabled(false));
    enableBox()->setChecked(false);
    enableBox()->setChecked(true);
    QVERIFY(!offerShown());
    newWindow();
    QVERIFY(!offerShown());
}

void TestAutostartOffer::unwritableFolderKeepsTheOffer()
{
    QFile blocker(AutostartEntry::defaultFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    newWindow();
    enableBox()->setChecked(true);

    ModalAnswerer warning(ModalAnswerer::pressButton(QMessageBox::Ok));
    button("autostartOfferAcceptButton")->click();
    QVERIFY(warning.answered());
    QVERIFY(warning.dialogText().contains(AutostartEntry::defaultFolder()));
    QVERIFY(offerShown());
    QVERIFY(!answerStored());
}

void TestAutostartOffer::resetBringsTheOfferBack()
{
    setOption(SettingsKeys::autostartOfferAnswered, true);
    newWindow();
    enableBox()->setChecked(true);
    QVERIFY(!offerShown());

    // What the settings dialog's Reset does to the store, then the dialog closes.
    QSettings().clear();
    ModalAnswerer settings([](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    QMetaObject::invokeMethod(window.get(), "on_action_Settings_triggered");
    QVERIFY(settings.answered());
    QVERIFY(offerShown());
}

DORVEX_TEST_MAIN(TestAutostartOffer)
#include "tst_autostartoffer.moc"
