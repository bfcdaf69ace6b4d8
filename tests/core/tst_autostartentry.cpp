#include "autostartentry.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

// The start-at-log-in entry on a real file system, checked by the desktop's
// own validator: created where the folder is missing, refused clearly where
// it cannot be written, and honest about entries that someone edited.
class TestAutostartEntry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void defaultFolderFollowsConfigHome();
    void switchingOnAndOffInAMissingFolder();
    void unwritableFolderChangesNothing();
    void editedEntriesKeepTheirEdits_data();
    void editedEntriesKeepTheirEdits();

private:
    QString folder() const { return TestEnvironment::instance().configHome() + "/autostart"; }
    QByteArray contents() const;
    void write(const QByteArray &text) const;
};

QByteArray TestAutostartEntry::contents() const
{
    QFile file(AutostartEntry(folder()).filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestAutostartEntry::write(const QByteArray &text) const
{
    QDir().mkpath(folder());
    QFile file(AutostartEntry(folder()).filePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestAutostartEntry::init()
{
    QDir(TestEnvironment::instance().configHome()).removeRecursively();
    QDir().mkpath(TestEnvironment::instance().configHome());
}

void TestAutostartEntry::defaultFolderFollowsConfigHome()
{
    QCOMPARE(AutostartEntry::defaultFolder(), folder());
}

void TestAutostartEntry::switchingOnAndOffInAMissingFolder()
{
    AutostartEntry entry;
    QVERIFY(!entry.isEnabled());
    QVERIFY2(entry.setEnabled(true), qPrintable(entry.errorString()));
    QVERIFY(entry.isEnabled());
    QCOMPARE(contents(), AutostartEntry::defaultContents());

    QProcess validator;
    validator.start("desktop-file-validate", { entry.filePath() });
    QVERIFY(validator.waitForFinished(30000));
    QCOMPARE(validator.readAll(), QByteArray());
    QCOMPARE(validator.exitCode(), 0);

    // It starts Dorvex as the menu does.
    QFile menuEntry(QStringLiteral(MENU_ENTRY));
    QVERIFY(menuEntry.open(QIODevice::ReadOnly));
    const auto execLine = [](const QByteArray &text) {
        return QString::fromUtf8(text).section(QStringLiteral("\nExec="), 1).section('\n', 0, 0);
    };
    QCOMPARE(execLine(contents()), execLine(menuEntry.readAll()));

    QVERIFY(entry.setEnabled(false));
    QVERIFY(!entry.isEnabled());
    QVERIFY(!QFile::exists(entry.filePath()));
}

void TestAutostartEntry::unwritableFolderChangesNothing()
{
    // A file where the folder belongs: not even root can write there.
    QFile blocker(folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    AutostartEntry entry;
    QVERIFY(!entry.setEnabled(true));
    QVERIFY(!entry.isEnabled());
    QVERIFY(entry.errorString().contains(folder()));
    QVERIFY(QFileInfo(folder()).isFile());
}

void TestAutostartEntry::editedEntriesKeepTheirEdits_data()
{
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QByteArray>("kept");

    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Dorvex\n";
    QTest::newRow("own arguments") << head + "Exec=dorvex-launch -nolang\n"
                                   << true << QByteArray("Exec=dorvex-launch -nolang");
    QTest::newRow("environment before the command")
        << head + "Exec=env QT_QPA_PLATFORM=xcb /usr/bin/dorvex-launch\n"
        << true << QByteArray("Exec=env QT_QPA_PLATFORM=xcb /usr/bin/dorvex-launch");
    QTest::newRow("hidden, with a comment")
        << head + "# delayed by me\nExec=dorvex-launch\nHidden=true\n"
        << false << QByteArray("# delayed by me");
    QTest::newRow("switched off by GNOME") << head
            + "Exec=dorvex-launch\nX-GNOME-Autostart-Delay=10\nX-GNOME-Autostart-enabled=false\n"
                                           << false << QByteArray("X-GNOME-Autostart-Delay=10");
    QTest::newRow("another program under our name") << head + "Exec=xclock\n"
                                                    << false << QByteArray();
    QTest::newRow("not a desktop entry") << QByteArray("garbage\n") << false << QByteArray();
}

void TestAutostartEntry::editedEntriesKeepTheirEdits()
{
    QFETCH(QByteArray, edited);
    QFETCH(bool, enabled);
    QFETCH(QByteArray, kept);
    write(edited);

    AutostartEntry entry;
    QCOMPARE(entry.isEnabled(), enabled);

    QVERIFY2(entry.setEnabled(true), qPrintable(entry.errorString()));
    QVERIFY(entry.isEnabled());
    if (kept.isEmpty())
        QCOMPARE(contents(), AutostartEntry::defaultContents());
    else
        QVERIFY2(contents().contains(kept), contents().constData());

    QVERIFY(entry.setEnabled(false));
    QVERIFY(!entry.isEnabled());
    // An edited entry is hidden with its edits, a plain one of ours removed.
    QCOMPARE(QFile::exists(entry.filePath()), !kept.isEmpty());
    if (!kept.isEmpty())
        QVERIFY(contents().contains(kept));
}

DORVEX_TEST_MAIN(TestAutostartEntry)

#include "tst_autostartentry.moc"
