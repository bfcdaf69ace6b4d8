#include "helpdialog.h"

#include "version.h"

#include <QDir>
#include <QFile>
#include <QTextCursor>
#include <QTextStream>

HelpDialog::HelpDialog(const QString &fileName, QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    setWindowTitle(tr("Dorvex %1 help").arg(QLatin1String(programVersion)));
    loadHelpFile(fileName);
}

QString HelpDialog::helpFileIn(const QString &folder)
{
    const QString english = QStringLiteral("help.txt");
    //: The name of the help file in this language, beside the program.
    const QString translated = tr("help.txt");
    const QDir place(folder);
    if (translated != english && !translated.contains(QLatin1Char('/')) && place.exists(translated))
        return place.filePath(translated);
    return place.filePath(english);
}

void HelpDialog::loadHelpFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists()) {
        helpTextEdit->append(tr("File not found: %1").arg(fileName));
    } else {
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            helpTextEdit->append(tr("Error opening file: %1").arg(fileName));
            return;
        }
        QTextStream stream(&file);
        // One edit block around all the lines: the text area then lays the
        // document out once, not again after every line of a long file.
        QTextCursor batch(helpTextEdit->document());
        batch.beginEditBlock();
        while (!stream.atEnd())
            helpTextEdit->append(stream.readLine());
        batch.endEditBlock();
    }

    QTextCursor cursor = helpTextEdit->textCursor();
    cursor.movePosition(QTextCursor::Start);
    helpTextEdit->setTextCursor(cursor);
    helpTextEdit->ensureCursorVisible();
}
