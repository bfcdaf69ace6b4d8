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
// each answer leaves behind, and that only a reset of the settings brings it
// back after an answer.
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
    bool offerShown() const { return bar()->isVisibleTo(window.get()); }
    QWidget *bar() const { return window->findChild<QWidget *>("autostartOfferFrame"); }
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
    QTest::addColumn<bool>("armedAtStart");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("entryOn");
    QTest::addColumn<bool>("shown");
    QTest::newRow("nothing armed") << false << false << false << false;
    QTest::newRow("armed at start") << true << false << false << true;
    QTest::newRow("answered before") << true << true << false << false;
    QTest::newRow("starting at log-in already") << true << false << true << false;
}

void TestAutostartOffer::shownOnlyWhenWanted()
{
    QFETCH(bool, armedAtStart);
    QFETCH(bool, answered);
    QFETCH(bool, entryOn);
    QFETCH(bool, shown);
    QSettings().setValue(SettingsKeys::alarmEnabledKey(1), armedAtStart);
    QSettings().setValue(answerKey, answered);
    QVERIFY(AutostartEntry().setEnabled(entryOn));

    window = std::make_unique<MainWindow>(false);
    QCOMPARE(offerShown(), shown);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // The window grows by the bar, which sits below the buttons.
    QCOMPARE(window->height(), 308 + (shown ? bar()->height() : 0));
    QVERIFY(!shown || bar()->geometry().bottom() < window->centralWidget()->height());
}

void TestAutostartOffer::answersAreKept_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("folderBlocked");
    QTest::addColumn<bool>("entryOn");
    QTest::newRow("start at log-in") << "autostartOfferAcceptButton" << false << true;
    QTest::newRow("no, thanks") << "autostartOfferDismissButton" << false << false;
    QTest::newRow("start, folder blocked") << "autostartOfferAcceptButton" << true << false;
}

void TestAutostartOffer::answersAreKept()
{
    QFETCH(QString, button);
    QFETCH(bool, folderBlocked);
    QFETCH(bool, entryOn);
    if (folderBlocked)
        QVERIFY(QFile(AutostartEntry::defaultFolder()).open(QIODevice::WriteOnly));
    window = std::make_unique<MainWindow>(false);
    QVERIFY(!offerShown());
    arm();
    QVERIFY(offerShown());

    {
        ModalAnswerer warning(ModalAnswerer::pressButton(QMessageBox::Ok));
        window->findChild<QPushButton *>(button)->click();
        // A failure is said, and the offer stays for another try.
        QCOMPARE(warning.answered(), folderBlocked);
    }
    QCOMPARE(offerShown(), folderBlocked);
    QCOMPARE(QSettings().contains(answerKey), !folderBlocked);
    QCOMPARE(AutostartEntry().isEnabled(), entryOn);
    if (folderBlocked)
        return;

    // Not again, not even at a new start with the entry gone; but after a reset.
    QVERIFY(AutostartEntry().setEnabled(false));
    window = std::make_unique<MainWindow>(false);
    arm();
    QVERIFY(!offerShown());
    QSettings().clear();
    ModalAnswerer settings([](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    QMetaObject::invokeMethod(window.get(), "on_action_Settings_triggered");
    QVERIFY(offerShown());
}

DORVEX_TEST_MAIN(TestAutostartOffer)
#include "tst_autostartoffer.moc"
