#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
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
    else if (auto *input = qobject_cast<QInputDialog *>(modal))
        seenText = input->labelText();
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
        auto *input = qobject_cast<QInputDialog *>(dialog);
        QVERIFY2(input, "the modal dialog is not an input dialog");
        input->setTextValue(text);
        if (confirm)
            input->accept();
        else
            input->reject();
    };
}

ModalAnswerer::Answer ModalAnswerer::pressEscape()
{
    return [](QWidget *dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
    };
}
