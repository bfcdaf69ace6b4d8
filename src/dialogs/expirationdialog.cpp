#include "expirationdialog.h"

#include "alarmsound.h"
#include "randomsource.h"
#include "settingskeys.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QSettings>

static const char builtInPicture[] = ":/images/images/clocmain1.jpg";
static const char photosPrefix[] = "photos";

// A draw may hit the photo just dismissed again and again (one chance in two
// with two photos); after this many tries that photo is shown once more
// rather than keep the alarm waiting on luck.
static const int maximumDraws = 10;

QString ExpirationDialog::lastShownPhoto;

ExpirationDialog::ExpirationDialog(const QString &text, int alarmNumber, QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    {
        QSettings settings;
        lastShownPhoto = SettingsKeys::readLastShownPhoto(settings);
        scaleImage = SettingsKeys::scaleClockImage.read(settings);
    }

    alarmNumberLeftLabel->setText(QStringLiteral("%1").arg(alarmNumber));
    alarmNumberRightLabel->setText(alarmNumberLeftLabel->text());
    alarmLabel->setText(tr("Alarm \"%1\" expired!").arg(text));
    setDueLine(QString());

    // Fixed to the primary screen's size so that the window manager cannot
    // shrink the alarm into a corner, and placed on that screen, which it
    // would otherwise share with the main window, whatever that screen's
    // size. The sizes come first: growing the window to its new minimum
    // would drop a full-screen state set before.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        setScreen(screen);
        move(screen->geometry().topLeft());
        const QSize screenSize = screen->geometry().size();
        setMinimumSize(screenSize);
        setMaximumSize(screenSize);
    }
    setWindowState(Qt::WindowFullScreen);

    showPicture();
    activateWindow();
    raise();

    const QSettings settings;
    soundWanted = SettingsKeys::beepOnAlarm.read(settings);
}

void ExpirationDialog::setDueLine(const QString &line)
{
    dueLabel->setText(line);
    dueLabel->setVisible(!line.isEmpty());
}

void ExpirationDialog::showPicture()
{
    const QStringList nameFilters { QStringLiteral("*.jpg"), QStringLiteral("*.png") };
    QStringList candidates;
    for (const QString &folder : QDir::searchPaths(QLatin1String(photosPrefix))) {
        const QDir photos(folder);
        if (photos.exists())
            candidates += photos.entryList(nameFilters, QDir::Files);
    }

    QString picture = QLatin1String(builtInPicture);
    if (!candidates.isEmpty()) {
        for (int draw = 1; draw <= maximumDraws; ++draw) {
            picture = QLatin1String(photosPrefix) + QLatin1Char(':')
                + candidates.at(RandomSource::draw(candidates.size()));
            if (candidates.size() == 1 || picture != lastShownPhoto)
                break;
        }
        lastShownPhoto = picture;
    }

    // Qt 6.4 refuses by default to decode more than 128 MB, which would leave
    // a 48-megapixel camera photo blank. Twice that lets such photos through
    // while a forged header that claims gigabytes is still turned away
    // before anything is allocated.
    QImageReader::setAllocationLimit(256);
    imageLabel->setScaledContents(scaleImage);
    imageLabel->setPixmap(QPixmap(picture));
}

void ExpirationDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (soundWanted)
        AlarmSound::instance().ringWhileOpen(this);
}

void ExpirationDialog::mousePressEvent(QMouseEvent *)
{
    // An empty name means that no photo was ever chosen or stored; writing
    // it would only add an empty key to a store that had none.
    if (!lastShownPhoto.isEmpty()) {
        QSettings settings;
        settings.setValue(QLatin1String(SettingsKeys::lastShownPhoto), lastShownPhoto);
    }
    accept();
}
