// The floor the alarm panel is measured against: a fixed-size main window
// with a menu bar, a status-bar clock ticking every second and a tray icon,
// and nothing else. "--tray" starts with only the tray icon shown;
// "--time-edit" puts a focused time editor in the window, whose blinking
// cursor is the other thing that ticks in the alarm panel.
// "--alarm HH:mm:ss" opens a bare full-screen dialog at that time of day,
// the least an alarm's dialog can cost.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

static QIcon trayPicture()
{
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::darkCyan);
    painter.drawEllipse(1, 1, 20, 20);
    return QIcon(pixmap);
}

static void showAlarm(QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setWindowFlags(dialog.windowFlags() | Qt::WindowStaysOnTopHint);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Alarm")));
    dialog.setGeometry(QGuiApplication::primaryScreen()->geometry());
    dialog.setWindowState(Qt::WindowFullScreen);
    dialog.exec();
}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(482, 308);

    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction *quit = file->addAction(QStringLiteral("E&xit"));
    QObject::connect(quit, &QAction::triggered, &application, &QApplication::quit);
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));

    if (arguments.contains(QStringLiteral("--time-edit"))) {
        auto *edit = new QTimeEdit;
        edit->setDisplayFormat(QStringLiteral("hh:mm:ss"));
        window.setCentralWidget(edit);
        edit->setFocus();
    }

    auto *clock = new QLabel;
    window.statusBar()->addPermanentWidget(clock);
    const auto tick = [clock] {
        clock->setText(QTime::currentTime().toString(Qt::TextDate));
    };
    tick();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, clock, tick);
    timer.start(1000);

    QSystemTrayIcon tray(trayPicture());
    tray.setContextMenu(file);
    tray.show();

    const qsizetype alarm = arguments.indexOf(QStringLiteral("--alarm"));
    QTimer alarmTimer;
    if (alarm > 0 && alarm + 1 < arguments.size()) {
        const QTime time = QTime::fromString(arguments.at(alarm + 1), QStringLiteral("HH:mm:ss"));
        alarmTimer.setSingleShot(true);
        alarmTimer.setTimerType(Qt::PreciseTimer);
        // As the alarm panel does, a timer that runs out before the second
        // by the wall clock waits for it.
        QObject::connect(&alarmTimer, &QTimer::timeout, &window, [&window, &alarmTimer, time] {
            const int early = QTime::currentTime().msecsTo(time);
            if (early > 0 && early < 60000)
                alarmTimer.start(early);
            else
                showAlarm(&window);
        });
        alarmTimer.start(QTime::currentTime().msecsTo(time));
    }

    if (!arguments.contains(QStringLiteral("--tray")))
        window.show();
    return QApplication::exec();
}
