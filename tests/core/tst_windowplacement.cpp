#include "mainwindow.h"
#include "testenvironment.h"
#include "windowplacement.h"

#include <QApplication>
#include <QScreen>

// Where windows go on a desktop of two screens whose primary one lies to the
// right of the other: the main window opens centred on the primary screen,
// and a window left where no screen is any more comes back to it.
class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void mainWindowOpensOnThePrimaryScreen();
    void windowsOffEveryScreenComeBack_data();
    void windowsOffEveryScreenComeBack();

private:
    QRect primary() const { return QGuiApplication::primaryScreen()->geometry(); }
};

void TestWindowPlacement::initTestCase()
{
    QCOMPARE(QGuiApplication::screens().size(), 2);
    QVERIFY2(primary().x() > 0, "the primary screen must lie right of the other");
}

void TestWindowPlacement::mainWindowOpensOnThePrimaryScreen()
{
    MainWindow window(false);
    const QPoint expected(primary().x() + primary().width() / 2 - window.width() / 2,
        primary().y() + primary().height() / 2 - window.height() / 2);
    QCOMPARE(window.pos(), expected);
}

void TestWindowPlacement::windowsOffEveryScreenComeBack_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("movesBack");
    QTest::newRow("on the other screen") << QPoint(100, 900) << false;
    QTest::newRow("on the primary screen") << QPoint(3000, 20) << false;
    QTest::newRow("left of everything") << QPoint(-2000, 100) << true;
    QTest::newRow("below the primary screen") << QPoint(2500, 1100) << true;
}

void TestWindowPlacement::windowsOffEveryScreenComeBack()
{
    QFETCH(QPoint, position);
    QFETCH(bool, movesBack);
    QWidget window;
    window.resize(400, 300);
    auto *placement = new WindowPlacement(&window);
    window.move(position);

    // As when a monitor goes away; the screen named is not the one to look at.
    QMetaObject::invokeMethod(
        qApp, "screenRemoved", Q_ARG(QScreen *, QGuiApplication::screens().last()));
    QCoreApplication::processEvents();
    QCOMPARE(
        window.pos(), movesBack ? WindowPlacement::centredOn(primary(), window.size()) : position);
    QVERIFY(placement);
}

DORVEX_TEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
