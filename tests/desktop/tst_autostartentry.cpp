#include "autostartentry.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QProcess>

// The start-at-log-in entry on a real file system, checked by the desktop's
// own validator: created where the folder is missing, refused clearly where
// it cannot be written, honest about entries that someone edited.
class TestAutostartEntry : public QObject
{
    Q_OBJECT

private slots:
    void switchingOnAndOff_data();
    void switchingOnAndOff();
};

static QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestAutostartEntry::switchingOnAndOff_data()
{
    QTest::addColumn<QByteArray>("existing"); // empty: no folder; "folder": a file in its place
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QByteArray>("kept"); // what the user's edit leaves in it
    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Dorvex\n";
    QTest::newRow("no folder") << QByteArray() << false << QByteArray();
    QTest::newRow("a file where the folder belongs")
        << QByteArray("folder") << false << QByteArray();
    QTest::newRow("own arguments") << head + "Exec=dorvex-launch -nolang\n"
                                   << true << QByteArray("Exec=dorvex-launch -nolang");
    QTest::newRow("environment first") << head + "Exec=env A=1 /usr/bin/dorvex-launch\n"
                                       << true << QByteArray("Exec=env A=1 /usr/bin/dorvex-launch");
    QTest::newRow("hidden, with a comment") << head + "# mine\nExec=dorvex-launch\nHidden=true\n"
                                            << false << QByteArray("# mine");
    QTest::newRow("switched off by GNOME")
        << head + "Exec=dorvex-launch\nX-GNOME-Autostart-Delay=9\nX-GNOME-Autostart-enabled=false\n"
        << false << QByteArray("X-GNOME-Autostart-Delay=9");
    QTest::newRow("another program") << head + "Exec=xclock\n" << false << QByteArray();
}

void TestAutostartEntry::switchingOnAndOff()
{
    QFETCH(QByteArray, existing);
    QFETCH(bool, enabled);
    QFETCH(QByteArray, kept);
    const QString folder = TestEnvironment::instance().configHome() + "/autostart";
    QDir(folder).removeRecursively();
    QFile::remove(folder);
    AutostartEntry entry;
    if (!existing.isEmpty()) {
        if (existing != "folder")
            QDir().mkpath(folder);
        QFile file(existing == "folder" ? folder : entry.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    QCOMPARE(entry.isEnabled(), enabled);

    if (existing == "folder") {
        QVERIFY(!entry.setEnabled(true));
        QVERIFY(entry.errorString().contains(folder));
        QVERIFY(!entry.isEnabled());
        return;
    }
    QVERIFY2(entry.setEnabled(true), qPrintable(entry.errorString()));
    QVERIFY(entry.isEnabled());
    QVERIFY(contents(entry.filePath()).contains(kept.isEmpty() ? "\nExec=dorvex-launch\n" : kept));
    if (kept.isEmpty()) {
        // A fresh entry is valid and starts Dorvex as the menu entry does.
        QVERIFY(contents(MENU_ENTRY).contains("\nExec=dorvex-launch\n"));
        QProcess validator;
        validator.start("desktop-file-validate", { entry.filePath() });
        QVERIFY(validator.waitForFinished(30000));
        QCOMPARE(validator.readAll() + QByteArray::number(validator.exitCode()), QByteArray("0"));
    }

    // A plain entry of ours is removed; an edited one is hidden with its edits.
    QVERIFY(entry.setEnabled(false));
    QVERIFY(!entry.isEnabled());
    QCOMPARE(contents(entry.filePath()).contains(kept.isEmpty() ? "Exec" : kept), !kept.isEmpty());
}

DORVEX_TEST_MAIN(TestAutostartEntry)
#include "tst_autostartentry.moc"
