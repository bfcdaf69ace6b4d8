#include "alarmdays.h"

#include <QTest>

// The days an alarm rings on, as stored and as shown.
class TestAlarmDays : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatIsStored_data();
    void readsWhatIsStored();
    void describesInTheLocalesWeek_data();
    void describesInTheLocalesWeek();
};

void TestAlarmDays::readsWhatIsStored_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<bool>("readable");

    QTest::newRow("work days") << "12345"
                               << "12345" << true;
    QTest::newRow("empty: once") << ""
                                 << "" << true;
    QTest::newRow("backwards") << "7654321"
                               << "1234567" << true;
    QTest::newRow("repeated") << "1111111"
                              << "1" << true;
    QTest::newRow("others passed over") << "1a,3 x7"
                                        << "137" << true;
    QTest::newRow("no digit: every day") << "abc"
                                         << "1234567" << false;
    QTest::newRow("out of range: every day") << "8"
                                             << "1234567" << false;
    QTest::newRow("a megabyte of zeros")
        << QString(1 << 20, QLatin1Char('0')) << "1234567" << false;
}

void TestAlarmDays::readsWhatIsStored()
{
    QFETCH(QString, stored);
    QFETCH(QString, digits);
    QFETCH(bool, readable);
    bool understood = !readable;
    QCOMPARE(AlarmDays::fromDigits(stored, &understood).toDigits(), digits);
    QCOMPARE(understood, readable);
}

void TestAlarmDays::describesInTheLocalesWeek_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("shown");

    QTest::newRow("work days") << "en_GB"
                               << "12345" << QString::fromUtf8("Mon–Fri");
    QTest::newRow("weekend, Monday first") << "de_DE"
                                           << "67"
                                           << "Sa., So.";
    QTest::newRow("Sunday first: a run across the weekend")
        << "en_US"
        << "7123" << QString::fromUtf8("Sun–Wed");
    QTest::newRow("Monday first: the same days split")
        << "en_GB"
        << "7123" << QString::fromUtf8("Mon–Wed, Sun");
    QTest::newRow("once") << "en_GB"
                          << ""
                          << "Once";
}

void TestAlarmDays::describesInTheLocalesWeek()
{
    QFETCH(QString, locale);
    QFETCH(QString, digits);
    QFETCH(QString, shown);
    QCOMPARE(AlarmDays::fromDigits(digits).describe(QLocale(locale)), shown);
}

QTEST_GUILESS_MAIN(TestAlarmDays)
#include "tst_alarmdays.moc"
