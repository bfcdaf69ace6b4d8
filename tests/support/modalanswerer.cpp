#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

ModalAnswerer::ModalAnswerer(Answer answer, int timeoutMs)
    : answer(std::move(answer))
    , ignored(QApplication::activeModalWidget())
    , remainingPolls(timeoutMs / 10)
{
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer.start();
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == ignored || !modal->isVisible()) {
        if (--remainingPolls <= 0)
            timer.stop();
        return;
    }
    timer.stop();
    seenDialog = modal;
    seenParent = modal->parentWidget();
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        seenText = box->text();
    else if (const auto *prompt = modal->findChild<QLabel *>())
        seenText = prompt->text();
    wasAnswered = true;
    answer(modal);
}

ModalAnswerer::Answer ModalAnswerer::pressButton(QMessageBox::StandardButton button)
{
    return [button](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY2(box, "the modal dialog is not a message box");
        QAbstractButton *target = box->button(button);
        QVERIFY2(target, "the message box has no such button");
        target->click();
    };
}

ModalAnswerer::Answer ModalAnswerer::enterText(const QString &text, bool confirm)
{
    return [text, confirm](QWidget *dialog) {
        auto *box = qobject_cast<QDialog *>(dialog);
        auto *edit = dialog->findChild<QLineEdit *>();
        QVERIFY2(box && edit, "the modal dialog takes no text");
        edit->setText(text);
        if (confirm)
            box->accept();
        else
            box->reject();
    };
}

ModalAnswerer::Answer ModalAnswerer::pressEscape()
{
    return [](QWidget *dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
    };
}
