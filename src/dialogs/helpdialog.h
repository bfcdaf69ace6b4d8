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

    // The help file in `folder` for the interface language: the one the
    // installed catalogue names ("help_de.txt" for German), or "help.txt",
    // the English one, when there is no catalogue or its file is missing.
    static QString helpFileIn(const QString &folder);

private:
    void loadHelpFile(const QString &fileName);
};

#endif
