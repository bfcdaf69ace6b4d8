#ifndef DORVEX_AUTOSTARTOFFER_H
#define DORVEX_AUTOSTARTOFFER_H

#include <QObject>

class QAbstractButton;
class QStatusBar;
class QWidget;

// Alarms ring only while the program runs, so once an alarm is armed and
// nothing starts the program at log-in, a line in the status bar offers to;
// it blocks nothing, and after either answer it never comes back (until the
// settings are reset). The window keeps its fixed size meanwhile.
class AutostartOffer : public QObject
{
    Q_OBJECT

public:
    // The bar, with the buttons in it, goes into the status bar.
    AutostartOffer(QStatusBar *statusBar, QWidget *bar, QAbstractButton *acceptButton,
        QAbstractButton *dismissButton);

    // To be told whenever the armed alarms change.
    void setAlarmsArmed(bool anyArmed);
    // Looks again after the entry or the store may have changed elsewhere.
    void refresh();

private slots:
    void accept();
    void dismiss();

private:
    bool wanted() const;
    void recordAnswer();
    void setShown(bool shown);

    QWidget *window;
    QWidget *bar;
    bool alarmsArmed = false;
};

#endif
