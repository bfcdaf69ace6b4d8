#ifndef DORVEX_TYPEDTIMEENTRY_H
#define DORVEX_TYPEDTIMEENTRY_H

#include <QObject>
#include <QString>

class QKeyEvent;
class QLineEdit;
class QTimeEdit;

// Lets a time edit take a whole time typed as people write it ("7:30",
// "0730", "7.30:15"; see TypedTime), whichever of its sections holds the
// cursor. The stock edit fills one section at a time and moves on by
// itself, so a typed "7:30" becomes 07:45:30 and every key sets a time of
// its own on the way. Here the typed text replaces the whole time, and the
// edit's time changes once: when the entry is complete, on Enter, or when
// the field loses the focus or is stepped. Keys that can lead to no time
// are refused; Escape, or an entry that is not a time, brings the previous
// time back. Stepping with the arrows, Page Up/Down and the wheel is the
// edit's own and works as before.
class TypedTimeEntry : public QObject
{
    Q_OBJECT

public:
    // The entry belongs to the edit and lives as long as it does.
    static void install(QTimeEdit *edit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TypedTimeEntry(QTimeEdit *edit);

    bool keyPressed(QKeyEvent *event);
    void type(const QString &text);
    void eraseLast();
    void paste();
    void show(const QString &text);
    void finish();
    void restore();

    QTimeEdit *edit;
    QLineEdit *lineEdit;
    QString typed;
    bool typing = false;
};

#endif
