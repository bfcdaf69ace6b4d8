#ifndef DORVEX_MODALANSWERER_H
#define DORVEX_MODALANSWERER_H

#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

// Answers the next modal dialog that opens, the way a user would, while the
// code under test sits in that dialog's exec(). Create one before the call
// that opens the dialog; it waits for a modal widget other than those
// already open, hands it to the answer, and then stops.
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    using Answer = std::function<void(QWidget *dialog)>;

    explicit ModalAnswerer(Answer answer, int timeoutMs = 10000);

    // Presses one standard button of the next message box.
    static Answer pressButton(QMessageBox::StandardButton button);
    // Types a text into the next dialog that takes one and confirms or cancels it.
    static Answer enterText(const QString &text, bool confirm = true);
    // Sends the Escape key to the dialog.
    static Answer pressEscape();

    bool answered() const { return wasAnswered; }
    // What the dialog looked like when it was answered.
    QPointer<QWidget> dialog() const { return seenDialog; }
    QString dialogText() const { return seenText; }
    QWidget *dialogParent() const { return seenParent; }

private:
    void poll();

    Answer answer;
    QTimer timer;
    // Guarded, so that a new dialog built where a closed one lay is not taken for it.
    QPointer<QWidget> ignored;
    QPointer<QWidget> seenDialog;
    QWidget *seenParent = nullptr;
    QString seenText;
    bool wasAnswered = false;
    int remainingPolls;
};

#endif
