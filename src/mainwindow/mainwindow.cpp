#include "mainwindow.h"

#include "version.h"

MainWindow::MainWindow(bool debugMode, QWidget *parent)
    : QMainWindow(parent)
    , debugMode(debugMode)
{
    setupUi(this);
    setWindowTitle(tr("Dorvex %1").arg(QLatin1String(programVersion)));
}

MainWindow::~MainWindow() = default;

void MainWindow::showAtStart()
{
    setVisible(true);
}
