#ifndef DORVEX_EXPIRATIONDIALOG_H
#define DORVEX_EXPIRATIONDIALOG_H

#include "ui_expirationdialog.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QHideEvent;
class QKeyEvent;
class QMouseEvent;
class QPushButton;
class QShowEvent;

// The full-screen window raised when an alarm goes off: the alarm's number
// on both sides of a picture, its text, and a click anywhere to dismiss.
class ExpirationDialog : public QDialog, private Ui::ExpirationDialog
{
    Q_OBJECT

public:
    // How the dialog ends, besides Accepted (a click) and Rejected (Escape).
    enum Outcome { Snoozed = QDialog::Accepted + 1 };

    ExpirationDialog(const QString &text, int alarmNumber, QWidget *parent = nullptr);

    // Offers a button, and the key S, that end the dialog as Snoozed; the
    // length is only shown. With 0, which it starts with, there is no snooze.
    void setSnoozeMinutes(int minutes);
    bool wasSnoozed() const { return result() == Snoozed; }

    // A line under the sentence, for an alarm that rings late; none when empty.
    void setDueLine(const QString &line);

protected slots:
    void mousePressEvent(QMouseEvent *event) override;

protected:
    // The alarm is heard from the moment it is seen.
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Once it is dismissed, the person is back where they were.
    void hideEvent(QHideEvent *event) override;

private:
    void rememberShownPhoto();
    void snooze();
    void shrinkPictureToArea();
    void fitSentenceToScreen(const QString &sentence);
    QSize pictureArea() const;
    void showPicture();

    bool scaleImage;
    bool soundWanted;
    // The photo this dialog shows, or the one last stored when it shows the
    // built-in picture.
    QString photoToRemember;
    // Created only when a snooze is offered, so that the window otherwise
    // looks as it always has.
    QPushButton *snoozeButton = nullptr;
    // This program's window that was active when the alarm came, if any.
    QPointer<QWidget> activeBeforeRing;

    // Shared by every dialog of the process, so that a dialog raised over
    // another one decides what the one underneath records when clicked.
    static QString lastShownPhoto;
};

#endif
