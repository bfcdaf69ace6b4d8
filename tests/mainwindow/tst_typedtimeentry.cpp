#include "mainwindow.h"
#include "testenvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimeEdit>
#include <QToolButton>

// Times typed into the alarm window's time fields as people write them,
// with real key events: the time set, and every time the field reported on
// the way (the alarms are re-aimed at each one).
class TestTypedTimeEntry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedTimeReplacesTheWholeTime_data();
    void typedTimeReplacesTheWholeTime();
    void steppingWorksAsBefore_data();
    void steppingWorksAsBefore();

private:
    enum class Focus { ClickHour, ClickMinute, ClickSecond, Tab, Shortcut };
    void focusField(Focus how);
    QList<QTime> reported() const;

    MainWindow *window = nullptr;
    QTimeEdit *field = nullptr;
    QScopedPointer<QSignalSpy> changes;
};

Q_DECLARE_METATYPE(QList<QTime>)

void TestTypedTimeEntry::init()
{
    TestEnvironment::instance().reset();
    window = new MainWindow(true);
    field = window->findChild<QTimeEdit *>(QStringLiteral("timeEditAlarm1"));
    field->setTime(QTime(8, 45));
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    changes.reset(new QSignalSpy(field, &QTimeEdit::timeChanged));
}

void TestTypedTimeEntry::cleanup()
{
    changes.reset();
    delete window;
    window = nullptr;
}

QList<QTime> TestTypedTimeEntry::reported() const
{
    QList<QTime> times;
    for (const QList<QVariant> &arguments : std::as_const(*changes))
        times << arguments.at(0).toTime();
    return times;
}

void TestTypedTimeEntry::focusField(Focus how)
{
    switch (how) {
    case Focus::Tab:
        window->findChild<QToolButton *>(QStringLiteral("alarm1DebugToolButton"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        break;
    case Focus::Shortcut:
        QTest::keyClick(window, Qt::Key_1, Qt::AltModifier);
        break;
    default: {
        // A click in the middle of the section's first digit.
        const int section = static_cast<int>(how) - static_cast<int>(Focus::ClickHour);
        auto *text = field->findChild<QLineEdit *>();
        const QFontMetrics metrics = text->fontMetrics();
        const QString shown = text->text();
        const int offset = section * 3;
        const int x = text->textMargins().left() + 2 + metrics.horizontalAdvance(shown.left(offset))
            + metrics.horizontalAdvance(shown.at(offset)) / 2;
        QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(x, text->height() / 2));
        const QDateTimeEdit::Section sections[] = { QDateTimeEdit::HourSection,
            QDateTimeEdit::MinuteSection, QDateTimeEdit::SecondSection };
        QCOMPARE(field->currentSection(), sections[section]);
        break;
    }
    }
    QVERIFY(field->hasFocus());
}

void TestTypedTimeEntry::typedTimeReplacesTheWholeTime_data()
{
    QTest::addColumn<Focus>("focus");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("leave");
    QTest::addColumn<QTime>("expected");

    // Return ends an entry with "\r", Escape abandons it with "\x1b",
    // Backspace is "\b"; `leave` moves the focus to the next alarm after.
    const QTime before(8, 45);
    const QTime half(7, 30);
    QTest::newRow("7:30 from the hour") << Focus::ClickHour << ""
                                        << "7:30\r" << false << half;
    QTest::newRow("07:30 from the minutes, left") << Focus::ClickMinute << ""
                                                  << "07:30" << true << half;
    QTest::newRow("7.30 from the seconds") << Focus::ClickSecond << ""
                                           << "7.30\r" << false << half;
    QTest::newRow("0730 after Tab") << Focus::Tab << ""
                                    << "0730\r" << false << half;
    QTest::newRow("730 after Tab, left") << Focus::Tab << ""
                                         << "730" << true << half;
    QTest::newRow("07:30:00 complete after Alt+1") << Focus::Shortcut << ""
                                                   << "07:30:00" << false << half;
    QTest::newRow("7:30:15 complete") << Focus::ClickHour << ""
                                      << "7:30:15" << false << QTime(7, 30, 15);
    QTest::newRow("073015 complete") << Focus::ClickMinute << ""
                                     << "073015" << false << QTime(7, 30, 15);
    QTest::newRow("08:15 over 08:45") << Focus::ClickHour << ""
                                      << "08:15\r" << false << QTime(8, 15);
    QTest::newRow("just the hour") << Focus::ClickSecond << ""
                                   << "7\r" << false << QTime(7, 0);
    QTest::newRow("the same time reports nothing") << Focus::ClickHour << ""
                                                   << "8:45\r" << false << before;
    QTest::newRow("corrected with Backspace") << Focus::ClickHour << ""
                                              << "7:35\b0\r" << false << half;
    QTest::newRow("letters in between are refused") << Focus::ClickHour << ""
                                                    << "7a:3x0\r" << false << half;
    QTest::newRow("letters alone") << Focus::ClickHour << ""
                                   << "abc\r" << true << before;
    QTest::newRow("25:00") << Focus::ClickHour << ""
                           << "25:00\r" << false << before;
    QTest::newRow("7:60") << Focus::ClickMinute << ""
                          << "7:60\r" << false << before;
    QTest::newRow("::") << Focus::ClickHour << ""
                        << "::\r" << false << before;
    QTest::newRow("half typed, left") << Focus::ClickHour << ""
                                      << "7:3" << true << before;
    QTest::newRow("Escape") << Focus::ClickHour << ""
                            << "0730\x1b" << true << before;
    QTest::newRow("erased, left") << Focus::ClickHour << ""
                                  << "\b" << true << before;
    QTest::newRow("pasted 07:30") << Focus::ClickSecond << "07:30"
                                  << "" << false << half;
    QTest::newRow("pasted with spaces") << Focus::ClickHour << " 7:30:15 "
                                        << "" << false << QTime(7, 30, 15);
    QTest::newRow("pasted 100 characters")
        << Focus::ClickHour << QString(100, QLatin1Char('7')) << "\r" << true << before;
}

void TestTypedTimeEntry::typedTimeReplacesTheWholeTime()
{
    QFETCH(Focus, focus);
    QFETCH(QString, clipboard);
    QFETCH(QString, keys);
    QFETCH(bool, leave);
    QFETCH(QTime, expected);

    focusField(focus);
    if (!clipboard.isEmpty()) {
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    QTest::keyClicks(field, keys);
    if (leave) {
        QTest::keyClick(window, Qt::Key_2, Qt::AltModifier);
        QVERIFY(!field->hasFocus());
    }

    QCOMPARE(field->time(), expected);
    QCOMPARE(
        field->findChild<QLineEdit *>()->text(), expected.toString(QStringLiteral("hh:mm:ss")));
    const QList<QTime> none;
    QCOMPARE(reported(), expected == QTime(8, 45) ? none : QList<QTime> { expected });
}

void TestTypedTimeEntry::steppingWorksAsBefore_data()
{
    QTest::addColumn<Focus>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QTime>("expected");

    // Key 0 stands for one notch of the mouse wheel up.
    QTest::newRow("Up on the minutes") << Focus::ClickMinute << int(Qt::Key_Up) << QTime(8, 46);
    QTest::newRow("Down on the hour") << Focus::ClickHour << int(Qt::Key_Down) << QTime(7, 45);
    QTest::newRow("Page Up on the hour")
        << Focus::ClickHour << int(Qt::Key_PageUp) << QTime(18, 45);
    QTest::newRow("wheel on the seconds") << Focus::ClickSecond << 0 << QTime(8, 45, 1);
}

void TestTypedTimeEntry::steppingWorksAsBefore()
{
    QFETCH(Focus, focus);
    QFETCH(int, key);
    QFETCH(QTime, expected);

    focusField(focus);
    if (key) {
        QTest::keyClick(field, Qt::Key(key));
    } else {
        auto *text = field->findChild<QLineEdit *>();
        const QPoint inside = text->rect().center();
        QWheelEvent notch(inside, text->mapToGlobal(inside), {}, QPoint(0, 120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(field, &notch);
    }
    QCOMPARE(field->time(), expected);
    QCOMPARE(reported(), QList<QTime> { expected });
}

DORVEX_TEST_MAIN(TestTypedTimeEntry)
#include "tst_typedtimeentry.moc"
