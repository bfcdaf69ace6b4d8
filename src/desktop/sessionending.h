#ifndef DORVEX_SESSIONENDING_H
#define DORVEX_SESSIONENDING_H

#include <QObject>

// Tells whether a window's close comes from the desktop session ending.
// The session first asks the program to save (commit), then ends it by
// closing its windows right away or by quitting it once every program has
// saved. A log-out that is cancelled tells the program nothing, so only a
// close made while the commit runs, or by the quit that follows it, is the
// session's: a close made later by hand is the user's.
class SessionEnding : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnding(QObject *parent = nullptr);

    // The session asked to save before it ends.
    void noteCommit();
    bool closesNow() const { return sessionCloses; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void closeUntilIdle();

    bool committed = false;
    bool sessionCloses = false;
};

#endif
