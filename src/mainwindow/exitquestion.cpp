#include "exitquestion.h"

#include <QCoreApplication>
#include <QMessageBox>

bool askToExit(QWidget *parent, const QIcon &icon)
{
    QMessageBox question(QMessageBox::Question,
        QCoreApplication::translate("MainWindow", "Question"),
        QCoreApplication::translate("MainWindow", "Dou you want to exit?"),
        QMessageBox::Yes | QMessageBox::No, parent);
    question.setDefaultButton(QMessageBox::No);
    question.setEscapeButton(QMessageBox::No);
    question.setWindowIcon(icon);
    return question.exec() == QMessageBox::Yes;
}
