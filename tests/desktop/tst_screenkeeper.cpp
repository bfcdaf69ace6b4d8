#include "fakescreenservices.h"
#include "screenkeeper.h"
#include "testenvironment.h"

#include <QDBusMessage>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/screensaver.h>

#include <memory>

// What a ring asks of the desktop is given back however it ends, even before the answers.
using Answer = FakeInhibitingService::Answer;
enum class Ending { Dismissed, Overlapping, ProgramEnds, BeforeAnswers };

static int x11ScreenSaverState(xcb_connection_t *x11)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x11)).data->root;
    const std::unique_ptr<xcb_screensaver_query_info_reply_t, decltype(&std::free)> info(
        xcb_screensaver_query_info_reply(x11, xcb_screensaver_query_info(x11, root), nullptr),
        &std::free);
    return info ? int(info->state) : -1;
}

class TestScreenKeeper : public QObject
{
    Q_OBJECT

private slots:
    void heldWhileRingingAndGivenBack_data()
    {
        QTest::addColumn<Answer>("saverAnswer");
        QTest::addColumn<Answer>("loginAnswer");
        QTest::addColumn<Ending>("ending");
        const Answer yes = Answer::AtOnce, late = Answer::Late, no = Answer::Refusal,
                     none = Answer::Absent;
        QTest::newRow("both grant") << yes << yes << Ending::Dismissed;
        QTest::newRow("rings overlap") << yes << yes << Ending::Overlapping;
        QTest::newRow("program ends while ringing") << yes << yes << Ending::ProgramEnds;
        QTest::newRow("no screen saver") << none << yes << Ending::Dismissed;
        QTest::newRow("no login manager") << yes << none << Ending::Dismissed;
        QTest::newRow("screen saver refuses") << no << yes << Ending::Dismissed;
        QTest::newRow("login manager refuses") << yes << no << Ending::Dismissed;
        QTest::newRow("late answers during the ring") << late << late << Ending::Dismissed;
        QTest::newRow("ring ended before late answers") << late << late << Ending::BeforeAnswers;
    }

    void heldWhileRingingAndGivenBack()
    {
        QFETCH(Answer, saverAnswer);
        QFETCH(Answer, loginAnswer);
        QFETCH(Ending, ending);
        if (!qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS"))
            QSKIP("Needs the private buses of run-under-x.");
        FakeInhibitingService saver("org.freedesktop.ScreenSaver"), login("org.freedesktop.login1");
        const QString path = QStringLiteral("/org/freedesktop/ScreenSaver");
        QVERIFY(
            saver.start(path, saverAnswer) && login.start("/org/freedesktop/login1", loginAnswer));
        // The X server keeps the screen on when a service does not.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("screen")));
        // The X server's screen saver, already on, is woken too. Read on the keeper's
        // connection to the server, where replies come in order.
        xcb_connection_t *x11
            = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        xcb_force_screen_saver(x11, XCB_SCREEN_SAVER_ACTIVE);
        QCOMPARE(x11ScreenSaverState(x11), XCB_SCREENSAVER_STATE_ON);
        auto keeper = std::make_unique<ScreenKeeper>();
        keeper->begin();
        QCOMPARE(x11ScreenSaverState(x11), XCB_SCREENSAVER_STATE_OFF);
        QCOMPARE(saver.answers + login.answers, 0); // begin() does not wait for them
        if (ending == Ending::Overlapping)
            keeper->begin();
        const int saverThere = saverAnswer != Answer::Absent,
                  loginThere = loginAnswer != Answer::Absent;
        QTRY_COMPARE(saver.requests, QStringList(saverThere, "Dorvex An alarm is ringing"));
        QTRY_COMPARE(
            login.requests, QStringList(loginThere, "sleep:idle Dorvex An alarm is ringing block"));
        if (ending == Ending::Overlapping || ending == Ending::BeforeAnswers)
            keeper->end();
        QTRY_COMPARE_WITH_TIMEOUT(saver.answers + login.answers, saverThere + loginThere,
            2 * FakeInhibitingService::lateAnswerMs);
        QCOMPARE(saver.wakes, saverThere);
        if (ending != Ending::BeforeAnswers) {
            // Returns once the screen saver has seen all the keeper sent it.
            QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(saver.service, path,
                                                   saver.service, "SimulateUserActivity"),
                QDBus::BlockWithGui);
            const int granted = (saverAnswer < Answer::Refusal) + (loginAnswer < Answer::Refusal);
            QCOMPARE(saver.held() + login.held(), granted);
        }
        // After a ring ended before the answers, one more end() changes nothing.
        ending == Ending::ProgramEnds ? keeper.reset() : keeper->end();
        QTRY_COMPARE(saver.held() + login.held(), 0);
    }

    void warnsOnceWhenNothingKeepsTheScreenOn()
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
};

DORVEX_TEST_MAIN(TestScreenKeeper)

#include "tst_screenkeeper.moc"
