#include "fakescreenservices.h"
#include "screenkeeper.h"
#include "testenvironment.h"

#include <QDBusMessage>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/screensaver.h>

#include <memory>

// What a ring asks of the screen saver, the login manager and the X server,
// and that all of it is given back however the ring ends, even when an
// answer comes after the end.
using Answer = FakeInhibitingService::Answer;
enum class Ending { Dismissed, Overlapping, ProgramEnds };
const QString saverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString loginPath = QStringLiteral("/org/freedesktop/login1");

class TestScreenKeeper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS"))
            QSKIP(
                "Needs the private buses of run-under-x (DORVEX_SESSION_BUS, DORVEX_SYSTEM_BUS).");
    }
    void cleanup()
    {
        saver.stop();
        login.stop();
    }

    void heldWhileRingingAndGivenBack_data();
    void heldWhileRingingAndGivenBack();
    void lateAnswersAreKeptOrGivenBack_data();
    void lateAnswersAreKeptOrGivenBack();
    void x11ScreenSaverWoken();
    void warnsOnceWhenNothingKeepsTheScreenOn();

private:
    // Returns once the screen saver has seen all that was sent to it before.
    void settle()
    {
        const int wakes = saver.wakes;
        QDBusConnection::sessionBus().send(QDBusMessage::createMethodCall(
            saver.service, saverPath, saver.service, QStringLiteral("SimulateUserActivity")));
        QTRY_COMPARE(saver.wakes, wakes + 1);
    }

    FakeScreenSaver saver;
    FakeLoginManager login;
};

void TestScreenKeeper::heldWhileRingingAndGivenBack_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Answer>("saverAnswer");
    QTest::addColumn<Answer>("loginAnswer");
    QTest::addColumn<Ending>("ending");
    const Answer yes = Answer::AtOnce, no = Answer::Refusal, none = Answer::Absent;
    QTest::newRow("both grant") << saverPath << yes << yes << Ending::Dismissed;
    QTest::newRow("rings overlap") << saverPath << yes << yes << Ending::Overlapping;
    QTest::newRow("program ends while ringing") << saverPath << yes << yes << Ending::ProgramEnds;
    QTest::newRow("saver at /ScreenSaver") << "/ScreenSaver" << yes << yes << Ending::Dismissed;
    QTest::newRow("no screen saver") << saverPath << none << yes << Ending::Dismissed;
    QTest::newRow("no login manager") << saverPath << yes << none << Ending::Dismissed;
    QTest::newRow("screen saver refuses") << saverPath << no << yes << Ending::Dismissed;
    QTest::newRow("login manager refuses") << saverPath << yes << no << Ending::Dismissed;
}

void TestScreenKeeper::heldWhileRingingAndGivenBack()
{
    QFETCH(QString, path);
    QFETCH(Answer, saverAnswer);
    QFETCH(Answer, loginAnswer);
    QFETCH(Ending, ending);
    QVERIFY(saver.start(path, saverAnswer) && login.start(loginPath, loginAnswer));
    // The X server keeps the screen on when a service does not.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("screen")));

    auto keeper = std::make_unique<ScreenKeeper>();
    keeper->begin();
    if (ending == Ending::Overlapping)
        keeper->begin();
    const int saverThere = saverAnswer != Answer::Absent,
              loginThere = loginAnswer != Answer::Absent;
    QTRY_COMPARE(saver.answers, saverThere);
    QTRY_COMPARE(login.answers, loginThere);
    QCOMPARE(saver.wakes, saverThere);
    QCOMPARE(saver.requests, QStringList(saverThere, "Dorvex: An alarm is ringing"));
    QCOMPARE(
        login.requests, QStringList(loginThere, "sleep:idle Dorvex An alarm is ringing block"));
    QCOMPARE(saver.held.size(), int(saverAnswer == Answer::AtOnce));
    QCOMPARE(login.held, int(loginAnswer == Answer::AtOnce));

    if (ending == Ending::Overlapping) {
        keeper->end();
        settle();
        QCOMPARE(saver.held.size() + login.held, 2);
    }
    if (ending == Ending::ProgramEnds)
        keeper.reset();
    else
        keeper->end();
    QTRY_VERIFY(saver.held.isEmpty());
    QTRY_COMPARE(login.held, 0);
}

void TestScreenKeeper::lateAnswersAreKeptOrGivenBack_data()
{
    QTest::addColumn<bool>("endedBeforeAnswers");
    QTest::newRow("ring ended before the answers") << true;
    QTest::newRow("answers came during the ring") << false;
}

void TestScreenKeeper::lateAnswersAreKeptOrGivenBack()
{
    QFETCH(bool, endedBeforeAnswers);
    QVERIFY(saver.start(saverPath, Answer::Late) && login.start(loginPath, Answer::Late));

    ScreenKeeper keeper;
    QElapsedTimer ringing;
    ringing.start();
    keeper.begin();
    qInfo("begin() took %lld µs", ringing.nsecsElapsed() / 1000);
    QCOMPARE(saver.answers + login.answers, 0);
    QTRY_COMPARE(saver.requests.size() + login.requests.size(), 2);
    if (endedBeforeAnswers)
        keeper.end();
    QTRY_COMPARE_WITH_TIMEOUT(
        saver.answers + login.answers, 2, 2 * FakeInhibitingService::lateAnswerMs);
    if (!endedBeforeAnswers) {
        settle();
        QCOMPARE(saver.held.size() + login.held, 2);
        keeper.end();
    }
    QTRY_VERIFY(saver.held.isEmpty());
    QTRY_COMPARE(login.held, 0);
}

void TestScreenKeeper::x11ScreenSaverWoken()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        QSKIP("Needs X11.");
    // A connection of the test's own: the screen saver is the server's.
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> own(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(own.get())).data->root;
    const auto state = [&] {
        free(xcb_get_input_focus_reply(
            x11->connection(), xcb_get_input_focus(x11->connection()), nullptr));
        std::unique_ptr<xcb_screensaver_query_info_reply_t, decltype(&std::free)> info(
            xcb_screensaver_query_info_reply(
                own.get(), xcb_screensaver_query_info(own.get(), root), nullptr),
            &std::free);
        return info ? int(info->state) : -1;
    };
    xcb_force_screen_saver(own.get(), XCB_SCREEN_SAVER_ACTIVE);
    QCOMPARE(state(), XCB_SCREENSAVER_STATE_ON);
    // Whether the blanking timer is suspended shows only when it would run
    // out, which the test does not wait for.
    ScreenKeeper keeper;
    keeper.begin();
    QCOMPARE(state(), XCB_SCREENSAVER_STATE_OFF);
}

void TestScreenKeeper::warnsOnceWhenNothingKeepsTheScreenOn()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        QSKIP("The X server keeps the screen on; tst_screenkeeper_without_x runs this.");
    const QRegularExpression notKept(QStringLiteral("screen cannot be"));
    QTest::ignoreMessage(QtWarningMsg, notKept);
    QTest::failOnWarning(notKept);
    ScreenKeeper keeper;
    for (int ring = 0; ring < 2; ++ring) {
        keeper.begin();
        // The bus's refusal comes back as an answer; give it time to arrive.
        QTest::qWait(200);
        keeper.end();
    }
}

DORVEX_TEST_MAIN(TestScreenKeeper)

#include "tst_screenkeeper.moc"
