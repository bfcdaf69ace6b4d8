#ifndef DORVEX_HELPDIALOG_H
#define DORVEX_HELPDIALOG_H

#include "ui_helpdialog.h"

#include <QDialog>
#include <QString>

// Shows the user help, a plain text file read afresh at every opening,
// in a text area that can be scrolled but neither edited nor selected.
class HelpDialog : public QDialog, private Ui::HelpDialog
{
    Q_OBJECT

public:
    HelpDialog(const QString &fileName, QWidget *parent = nullptr);

private:
    void loadHelpFile(const QString &fileName);
};

#endif
