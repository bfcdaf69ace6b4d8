#ifndef DORVEX_AUTOSTARTENTRY_H
#define DORVEX_AUTOSTARTENTRY_H

#include <QCoreApplication>
#include <QString>

// The desktop's start-at-log-in entry for Dorvex: a file in the XDG autostart
// folder that runs the same command as the menu entry. Whether the program
// starts at log-in is read from that file alone, so that a change made by the
// desktop's own session settings shows here too. An entry the user edited is
// kept: switching on clears only what disables it, and switching off hides
// it rather than deleting the edits.
class AutostartEntry
{
    Q_DECLARE_TR_FUNCTIONS(AutostartEntry)

public:
    // The folder defaults to $XDG_CONFIG_HOME/autostart (~/.config/autostart).
    explicit AutostartEntry(const QString &folder = defaultFolder());

    static QString defaultFolder();
    QString filePath() const;

    // True when the entry exists, runs Dorvex and is not disabled.
    bool isEnabled() const;

    // Writes, re-enables, removes or hides the entry. On failure nothing is
    // changed and errorString() says why, in words for the user.
    bool setEnabled(bool enabled);
    QString errorString() const;

    // What a fresh entry holds.
    static QByteArray defaultContents();

private:
    bool fail(const QString &reason);

    QString folder;
    QString error;
};

#endif
