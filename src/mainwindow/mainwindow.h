#ifndef DORVEX_MAINWINDOW_H
#define DORVEX_MAINWINDOW_H

#include "ui_mainwindow.h"

#include <QMainWindow>

// The alarm panel: three alarm rows, the disable-all switch, the menus
// and the status bar.
class MainWindow : public QMainWindow, private Ui::MainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(bool debugMode, QWidget *parent = nullptr);
    ~MainWindow() override;

    void showAtStart();

private:
    bool debugMode;
};

#endif
