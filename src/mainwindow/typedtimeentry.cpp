#include "typedtimeentry.h"

#include "typedtime.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimeEdit>

namespace {

// Keys with which the edit steps its time or moves between its sections:
// a typed entry is settled first, and the edit then does what it always did.
bool isSteppingKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

// A key that writes one character, with no modifier but those that choose
// the character (Shift, the keypad).
bool isTypedCharacter(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers choosing = Qt::ShiftModifier | Qt::KeypadModifier;
    return event->text().size() == 1 && event->text().at(0).isPrint()
        && (event->modifiers() & ~choosing) == Qt::NoModifier;
}

} // namespace

void TypedTimeEntry::install(QTimeEdit *edit)
{
    new TypedTimeEntry(edit);
}

TypedTimeEntry::TypedTimeEntry(QTimeEdit *edit)
    : QObject(edit)
    , edit(edit)
    , lineEdit(edit->findChild<QLineEdit *>())
{
    edit->installEventFilter(this);
    // A click in the text reaches the inner line edit, not the time edit.
    if (lineEdit)
        lineEdit->installEventFilter(this);
}

bool TypedTimeEntry::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent *>(event));
    case QEvent::FocusOut:
    case QEvent::Wheel:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        finish();
        return false;
    default:
        return false;
    }
}

bool TypedTimeEntry::keyPressed(QKeyEvent *event)
{
    if (edit->isReadOnly())
        return false;
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        if (!typing)
            return false;
        restore();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Takes the typed entry. The edit's own Enter would only report
        // its unchanged time once more, re-aiming the alarm for nothing.
        finish();
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        eraseLast();
        return true;
    default:
        break;
    }
    if (isSteppingKey(event->key())) {
        finish();
        return false;
    }
    if (isTypedCharacter(event)) {
        type(event->text());
        return true;
    }
    return false;
}

void TypedTimeEntry::type(const QString &text)
{
    const QString candidate = (typing ? typed : QString()) + text;
    const TypedTime reading = TypedTime::read(candidate);
    if (reading.state() == TypedTime::State::Impossible)
        return;
    typing = true;
    typed = candidate;
    show(typed);
    if (reading.state() == TypedTime::State::Complete)
        finish();
}

// Erasing starts an entry of its own: the whole time goes, as it would
// under a typed one, rather than a section that would leave half a time.
void TypedTimeEntry::eraseLast()
{
    if (typing)
        typed.chop(1);
    else
        typed.clear();
    typing = true;
    show(typed);
}

void TypedTimeEntry::paste()
{
    const QString text = QGuiApplication::clipboard()->text().trimmed();
    const TypedTime reading = TypedTime::read(text);
    if (!reading.isTime())
        return;
    typing = true;
    typed = text;
    finish();
}

void TypedTimeEntry::show(const QString &text)
{
    if (!lineEdit)
        return;
    // Unseen by the edit, which would otherwise read a time into every key.
    const QSignalBlocker blocker(lineEdit);
    lineEdit->setText(text);
    lineEdit->setCursorPosition(static_cast<int>(text.size()));
}

void TypedTimeEntry::finish()
{
    if (!typing)
        return;
    const TypedTime reading = TypedTime::read(typed);
    if (reading.isTime()) {
        typing = false;
        typed.clear();
        edit->setTime(reading.time());
    }
    // Shows the time set, or the previous one when the entry was none.
    restore();
}

void TypedTimeEntry::restore()
{
    typing = false;
    typed.clear();
    // Setting the time it holds makes the edit show it again, unchanged.
    edit->setTime(edit->time());
}
