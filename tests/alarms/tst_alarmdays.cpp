#include "alarmdays.h"
#include <QTest>

using namespace Qt::StringLiterals;

// The days an alarm rings on, as stored and as shown.
class TestAlarmDays : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatIsStored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("readable");
        QTest::newRow("work days") << u"12345"_s << u"12345"_s << true;
        QTest::newRow("empty: once") << u""_s << u""_s << true;
        QTest::newRow("backwards") << u"7654321"_s << u"1234567"_s << true;
        QTest::newRow("repeated") << u"1111111"_s << u"1"_s << true;
        QTest::newRow("others passed over") << u"1a,3 x7"_s << u"137"_s << true;
        QTest::newRow("no digit: every day") << u"abc"_s << u"1234567"_s << false;
        QTest::newRow("out of range: every day") << u"8"_s << u"1234567"_s << false;
        QTest::newRow("a megabyte of zeros") << QString(1 << 20, u'0') << u"1234567"_s << false;
    }

    void readsWhatIsStored()
    {
        QFETCH(QString, stored);
        QFETCH(bool, readable);
        bool understood = !readable;
        QTEST(AlarmDays::fromDigits(stored, &understood).toDigits(), "digits");
        QCOMPARE(understood, readable);
    }

    void describesInTheLocalesWeek_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("shown");
        QTest::newRow("work days") << u"en_GB"_s << u"12345"_s << u"Mon–Fri"_s;
        QTest::newRow("weekend, Monday first") << u"de_DE"_s << u"67"_s << u"Sa., So."_s;
        QTest::newRow("Sunday first: across the weekend")
            << u"en_US"_s << u"7123"_s << u"Sun–Wed"_s;
        QTest::newRow("Monday first: split") << u"en_GB"_s << u"7123"_s << u"Mon–Wed, Sun"_s;
        QTest::newRow("once") << u"en_GB"_s << u""_s << u"Once"_s;
    }

    void describesInTheLocalesWeek()
    {
        QFETCH(QString, locale);
        QFETCH(QString, digits);
        QTEST(AlarmDays::fromDigits(digits).describe(QLocale(locale)), "shown");
    }
};

QTEST_GUILESS_MAIN(TestAlarmDays)
#include "tst_alarmdays.moc"
