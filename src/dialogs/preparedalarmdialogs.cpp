#include "preparedalarmdialogs.h"

#include "alarmpreparer.h"
#include "alarmsound.h"
#include "expirationdialog.h"
#include "settingskeys.h"

#include <QImage>
#include <QSettings>
#include <QWindow>

PreparedAlarmDialogs::PreparedAlarmDialogs(
    AlarmPreparer &preparer, TextOf textOf, QWidget *dialogParent)
    : QObject(dialogParent)
    , textOf(std::move(textOf))
    , dialogParent(dialogParent)
{
    connect(&preparer, &AlarmPreparer::prepare, this, &PreparedAlarmDialogs::prepare);
    connect(&preparer, &AlarmPreparer::discard, this, &PreparedAlarmDialogs::discard);
}

PreparedAlarmDialogs::~PreparedAlarmDialogs() = default;

void PreparedAlarmDialogs::prepare(int index, const QDateTime &due)
{
    auto dialog = std::make_unique<ExpirationDialog>(textOf(index), index + 1, dialogParent);
    // The button may take room from the picture: settled before the drawing.
    dialog->setSnoozeMinutes(SettingsKeys::readSnoozeMinutes(QSettings()));
    // Drawn once where nobody sees it: the layout settles, the fonts'
    // glyphs are loaded and the picture converted, and showing it later
    // repeats none of that.
    QImage offScreen(dialog->size(), QImage::Format_ARGB32_Premultiplied);
    dialog->render(&offScreen);
    // The window exists, unmapped, so that showing it only maps it; its
    // cursor, looked up in the cursor theme's files, is set on it now too.
    dialog->winId();
    if (QWindow *window = dialog->windowHandle())
        window->setCursor(dialog->cursor());
    if (SettingsKeys::beepOnAlarm.read(QSettings()))
        AlarmSound::instance().prepare();
    dialogs[index] = Prepared { due, std::move(dialog) };
}

std::unique_ptr<ExpirationDialog> PreparedAlarmDialogs::take(int index, const QDateTime &due)
{
    const auto found = dialogs.find(index);
    if (found == dialogs.end())
        return nullptr;
    std::unique_ptr<ExpirationDialog> dialog;
    if (found->second.due == due)
        dialog = std::move(found->second.dialog);
    dialogs.erase(found);
    return dialog;
}

void PreparedAlarmDialogs::discard(int index)
{
    dialogs.erase(index);
    releaseSoundIfUnused();
}

void PreparedAlarmDialogs::releaseSoundIfUnused()
{
    AlarmSound &sound = AlarmSound::instance();
    if (dialogs.empty() && !sound.isRinging())
        sound.release();
}
