#include "startupoptions.h"

#include <QTest>

class TestStartupOptions : public QObject
{
    Q_OBJECT

private slots:
    void switches_data();
    void switches();
};

void TestStartupOptions::switches_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("debugMode");
    QTest::addColumn<bool>("useTranslation");

    const QString program = QStringLiteral("/usr/bin/dorvex");
    QTest::newRow("none") << QStringList { program } << false << true;
    QTest::newRow("-d") << QStringList { program, "-d" } << true << true;
    QTest::newRow("-nolang") << QStringList { program, "-nolang" } << false << false;
    QTest::newRow("both") << QStringList { program, "-d", "-nolang" } << true << false;
    QTest::newRow("both, other order") << QStringList { program, "-nolang", "-d" } << true << false;
    QTest::newRow("among others") << QStringList { program, "-style", "fusion", "-d" } << true
                                  << true;
    QTest::newRow("-dx") << QStringList { program, "-dx" } << false << true;
    QTest::newRow("-D") << QStringList { program, "-D" } << false << true;
    QTest::newRow("-nolang2") << QStringList { program, "-nolang2" } << false << true;
    QTest::newRow("-NOLANG") << QStringList { program, "-NOLANG" } << false << true;
    QTest::newRow("--d") << QStringList { program, "--d" } << false << true;
    QTest::newRow("d") << QStringList { program, "d" } << false << true;
}

void TestStartupOptions::switches()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, debugMode);
    QFETCH(bool, useTranslation);

    const StartupOptions options = StartupOptions::fromArguments(arguments);
    QCOMPARE(options.debugMode, debugMode);
    QCOMPARE(options.useTranslation, useTranslation);

    QList<QByteArray> bytes;
    for (const QString &argument : arguments)
        bytes << argument.toLocal8Bit();
    QVector<char *> argv;
    for (QByteArray &argument : bytes)
        argv << argument.data();
    const StartupOptions fromArgv = StartupOptions::fromArguments(argv.size(), argv.data());
    QCOMPARE(fromArgv.debugMode, debugMode);
    QCOMPARE(fromArgv.useTranslation, useTranslation);
}

QTEST_GUILESS_MAIN(TestStartupOptions)
#include "tst_startupoptions.moc"
