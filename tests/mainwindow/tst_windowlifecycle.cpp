#include "mainwindow.h"
#include "modalanswerer.h"
#include "settingskeys.h"
#include "testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <memory>

// How the panel ends when the system or the desktop session ends it rather
// than the user, and how it treats a settings file damaged on disk.
namespace {

void writeDamagedStore(const QByteArray &readablePart, qsizetype noiseBytes)
{
    const QString fileName = TestEnvironment::instance().settingsFile();
    QDir().mkpath(QFileInfo(fileName).path());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray noise(noiseBytes, Qt::Uninitialized);
    QRandomGenerator random(17);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    file.write(readablePart + noise);
}

} // namespace

class TestWindowLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void damagedStoreIsSavedCleanOnceAndThenLeftAlone();
    void endingWithoutAQuestion_data();
    void endingWithoutAQuestion();

private:
    QString statusMessage() const { return window->statusBar()->currentMessage(); }
    void saveNow() { QMetaObject::invokeMethod(window.get(), "maybeSaveSettings"); }
    QCheckBox *enableBox(int number) const
    {
        return window->findChild<QCheckBox *>(QStringLiteral("alarm%1EnableCheckBox").arg(number));
    }

    std::unique_ptr<MainWindow> window;
};

void TestWindowLifecycle::init()
{
    TestEnvironment::instance().reset();
}

void TestWindowLifecycle::cleanup()
{
    window.reset();
    TestEnvironment::instance().unblockStore();
}

void TestWindowLifecycle::damagedStoreIsSavedCleanOnceAndThenLeftAlone()
{
    writeDamagedStore("[General]\nlanguage=de\n[alarm1]\nenabled=true\n", 10 * 1024 * 1024);
    window = std::make_unique<MainWindow>(false);
    QVERIFY(enableBox(1)->isChecked());

    // Nothing was changed by hand, yet the damaged file is written afresh.
    saveNow();
    QVERIFY2(
        statusMessage().endsWith(QLatin1String(": Saved settings.")), qPrintable(statusMessage()));
    const QFileInfo file(TestEnvironment::instance().settingsFile());
    QSettings written(file.filePath(), QSettings::IniFormat);
    QCOMPARE(written.status(), QSettings::NoError);
    QCOMPARE(written.value(SettingsKeys::alarmEnabledKey(1)).toString(), QStringLiteral("true"));
    // What could be read is kept, also what the panel does not write itself.
    QCOMPARE(written.value(SettingsKeys::language).toString(), QStringLiteral("de"));
    QCOMPARE(written.allKeys().size(), 13 + 1);

    const QDateTime writtenAt = QFileInfo(file.filePath()).lastModified();
    window->statusBar()->clearMessage();
    saveNow();
    QCOMPARE(statusMessage(), QString());
    QCOMPARE(QFileInfo(file.filePath()).lastModified(), writtenAt);
}

void TestWindowLifecycle::endingWithoutAQuestion_data()
{
    QTest::addColumn<QString>("endedBy");
    QTest::addColumn<bool>("questionOpen");
    QTest::newRow("termination signal") << "signal" << false;
    QTest::newRow("termination signal while asking whether to exit") << "signal" << true;
    QTest::newRow("log-out, the session closes the window") << "close" << false;
    QTest::newRow("log-out, the session quits") << "quit" << false;
    QTest::newRow("log-out while asking whether to exit") << "quit" << true;
}

void TestWindowLifecycle::endingWithoutAQuestion()
{
    QFETCH(QString, endedBy);
    QFETCH(bool, questionOpen);
    window = std::make_unique<MainWindow>(false);
    window->showAtStart();
    enableBox(3)->setChecked(true);

    bool savedAtCommit = false;
    auto end = [&] {
        if (endedBy == QLatin1String("signal")) {
            window->endWithoutQuestion();
            return;
        }
        window->commitSessionData();
        savedAtCommit = QSettings().value(SettingsKeys::alarmEnabledKey(3)).toBool();
        if (endedBy == QLatin1String("close")) {
            window->close();
        } else {
            // What the session manager's order to end comes down to.
            QEvent quit(QEvent::Quit);
            QCoreApplication::sendEvent(qApp, &quit);
        }
    };
    std::unique_ptr<ModalAnswerer> unexpected;
    std::unique_ptr<ModalAnswerer> exitQuestion;
    if (questionOpen) {
        exitQuestion = std::make_unique<ModalAnswerer>([&](QWidget *) {
            unexpected = std::make_unique<ModalAnswerer>(ModalAnswerer::pressEscape(), 1000);
            end();
        });
        QTimer::singleShot(0, window.get(),
            [this] { window->findChild<QPushButton *>("exitPushButton")->click(); });
    } else {
        unexpected = std::make_unique<ModalAnswerer>(ModalAnswerer::pressEscape(), 1000);
        QTimer::singleShot(0, window.get(), end);
    }

    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!unexpected->answered());
    QCOMPARE(QSettings().value(SettingsKeys::alarmEnabledKey(3)).toBool(), true);
    if (endedBy != QLatin1String("signal"))
        QVERIFY(savedAtCommit);
}

DORVEX_TEST_MAIN(TestWindowLifecycle)

#include "tst_windowlifecycle.moc"
