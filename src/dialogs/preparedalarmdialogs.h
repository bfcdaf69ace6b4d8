#ifndef DORVEX_PREPAREDALARMDIALOGS_H
#define DORVEX_PREPAREDALARMDIALOGS_H

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class AlarmPreparer;
class ExpirationDialog;
class QWidget;

// The dialogs of alarms about to ring, built before their second: laid out,
// the picture decoded, drawn once off screen so that the fonts are loaded,
// and the window created but not mapped; and the sound player started when
// the alarm is to be heard. Nothing is shown, heard or stored until a ring
// takes its dialog and shows it.
class PreparedAlarmDialogs : public QObject
{
    Q_OBJECT

public:
    // The alarm's text by index.
    using TextOf = std::function<QString(int index)>;

    PreparedAlarmDialogs(AlarmPreparer &preparer, TextOf textOf, QWidget *dialogParent);
    ~PreparedAlarmDialogs() override;

    // The dialog prepared for alarm `index`'s ring at `due` (UTC), handed
    // over; nullptr when none was prepared for that very ring.
    std::unique_ptr<ExpirationDialog> take(int index, const QDateTime &due);
    void discard(int index);

private:
    struct Prepared
    {
        QDateTime due;
        std::unique_ptr<ExpirationDialog> dialog;
    };

    void prepare(int index, const QDateTime &due);
    void releaseSoundIfUnused();

    TextOf textOf;
    QWidget *dialogParent;
    std::map<int, Prepared> dialogs;
};

#endif
