#include "expirationdialog.h"

#include "alarmsound.h"
#include "photoloader.h"
#include "settingskeys.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTextLayout>
#include <QWindow>

#include <algorithm>

namespace {

// Narrower than any printing character of the sentence's font.
const int minimumCharacterWidth = 4;

// More of a text than anyone listens to: a screen reader is given this much
// of a text that may be megabytes long.
const int spokenAtMost = 1000;

// Large and plain, to be found and hit by someone barely awake, in the
// window's colours.
const int snoozeButtonPointSize = 24;
const char snoozeButtonStyle[] = "QPushButton { color: white; background: #333;"
                                 " border: 2px solid #888; border-radius: 12px;"
                                 " padding: 16px 40px; }"
                                 "QPushButton:pressed { background: #555; }";

struct TextLine
{
    int start;
    int length;
    qreal width;
};

QList<TextLine> wrappedLines(
    const QString &text, const QFont &font, int width, QTextOption::WrapMode wrapMode)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(wrapMode);
    layout.setTextOption(option);
    QList<TextLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append({ line.textStart(), line.textLength(), line.naturalTextWidth() });
    }
    layout.endLayout();
    return lines;
}

// Word wrapping keeps a long sentence within the screen, all but a word wider
// than the screen and a text taller than its share of it: those are broken
// where they must be, and cut short with an ellipsis.
QString fittedSentence(const QString &sentence, const QFont &font, int width, int maximumHeight)
{
    const QFontMetrics metrics(font);
    const int maximumLines = qMax(1, maximumHeight / metrics.lineSpacing());
    // No more than this many characters can show: a text may be megabytes.
    const int shownAtMost = maximumLines * (width / minimumCharacterWidth + 1);
    if (sentence.size() <= shownAtMost) {
        const QList<TextLine> byWords = wrappedLines(sentence, font, width, QTextOption::WordWrap);
        const bool wordsFit = std::all_of(byWords.cbegin(), byWords.cend(),
            [width](const TextLine &line) { return line.width <= width; });
        if (wordsFit && byWords.size() <= maximumLines)
            return sentence;
    }

    const QString considered = sentence.left(shownAtMost + 1);
    const QList<TextLine> anywhere
        = wrappedLines(considered, font, width, QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    for (const TextLine &line : anywhere.mid(0, maximumLines))
        lines.append(considered.mid(line.start, line.length).trimmed());
    if (anywhere.size() > maximumLines || considered.size() < sentence.size()) {
        const QString rest = considered.mid(anywhere.at(lines.size() - 1).start).simplified();
        lines.last() = metrics.elidedText(rest + QChar(0x2026), Qt::ElideRight, width);
    }
    return lines.join(QLatin1Char('\n'));
}

// The height the column needs at the given width, margins included.
int columnHeight(const QLayout &column, int width)
{
    return column.hasHeightForWidth() ? column.totalHeightForWidth(width)
                                      : column.totalSizeHint().height();
}

// The dialog is not on the screen yet, but it knows which one it will be on.
qreal devicePixelRatioOf(const QWidget &widget)
{
    return widget.screen() ? widget.screen()->devicePixelRatio() : widget.devicePixelRatioF();
}

} // namespace

QString ExpirationDialog::lastShownPhoto;

ExpirationDialog::ExpirationDialog(const QString &text, int alarmNumber, QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    {
        QSettings settings;
        photoToRemember = SettingsKeys::readLastShownPhoto(settings);
        scaleImage = SettingsKeys::scaleClockImage.read(settings);
        soundWanted = SettingsKeys::beepOnAlarm.read(settings);
    }

    alarmNumberLeftLabel->setText(QStringLiteral("%1").arg(alarmNumber));
    alarmNumberRightLabel->setText(alarmNumberLeftLabel->text());
    setDueLine(QString());
    const QString spokenText
        = text.size() > spokenAtMost ? text.left(spokenAtMost) + QChar(0x2026) : text;
    setAccessibleName(tr("Alarm %1: %2").arg(alarmNumber).arg(spokenText));
    setAccessibleDescription(tr("Click anywhere or press Escape to dismiss."));

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

    // Modal for the program, but not transient for its parent in the window
    // manager's eyes: GNOME would attach it to the main window, out of full
    // screen below the top bar, and window managers hand the focus to the
    // parent of a closing transient, over whatever the person was doing.
    create();
    windowHandle()->setTransientParent(nullptr);

    fitSentenceToScreen(tr("Alarm \"%1\" expired!").arg(text));
    showPicture();
    activateWindow();
    raise();
}

void ExpirationDialog::setDueLine(const QString &line)
{
    dueLabel->setText(line);
    dueLabel->setVisible(!line.isEmpty());
}

// The column is measured with the form's one-line sentence in place, never
// with the whole text, which may be megabytes to lay out.
void ExpirationDialog::fitSentenceToScreen(const QString &sentence)
{
    ensurePolished();
    const QMargins margins = layout()->contentsMargins();
    const int width = this->width() - margins.left() - margins.right();
    // What the title, the gaps and the margins leave to the sentence and the
    // picture's row together. The sentence leaves the row at least as much,
    // and room for the digits' figures: short of room, the layout squeezes
    // the taller of the two, which must not be the sentence.
    const int shared = height() - columnHeight(*layout(), this->width())
        + hboxLayout->sizeHint().height() + alarmLabel->heightForWidth(width);
    const int figures = alarmNumberLeftLabel->fontMetrics()
                            .tightBoundingRect(alarmNumberLeftLabel->text())
                            .height();
    const int maximumHeight = qMin(shared / 2, shared - figures);
    alarmLabel->setText(fittedSentence(sentence, alarmLabel->font(), width, maximumHeight));
}

// The room the layout leaves for the picture, between the digits and under
// the text, in device pixels.
QSize ExpirationDialog::pictureArea() const
{
    const QMargins margins = layout()->contentsMargins();
    // The main window may show the due line after this: its room is kept.
    const int dueLineRoom = dueLabel->isVisibleTo(this)
        ? 0
        : dueLabel->fontMetrics().lineSpacing() + layout()->spacing();
    const int restOfColumn
        = columnHeight(*layout(), width()) - hboxLayout->sizeHint().height() + dueLineRoom;
    const int restOfRow = margins.left() + margins.right() + hboxLayout->minimumSize().width();
    const qreal ratio = devicePixelRatioOf(*this);
    return QSize(int((width() - restOfRow) * ratio), int((height() - restOfColumn) * ratio));
}

void ExpirationDialog::showPicture()
{
    const PhotoLoader loader(photoToRemember, scaleImage);
    const PhotoLoader::Picture picture
        = loader.load(PhotoLoader::findPhotos(), pictureArea(), devicePixelRatioOf(*this));
    if (!picture.photoName.isEmpty())
        photoToRemember = picture.photoName;
    imageLabel->setPixmap(QPixmap::fromImage(picture.image));
}

void ExpirationDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A dialog may be built before its alarm's second: its photo counts as
    // shown from the moment it is.
    lastShownPhoto = photoToRemember;
    activeBeforeRing = QApplication::activeWindow();
    if (soundWanted)
        AlarmSound::instance().ringWhileOpen(this);
}

void ExpirationDialog::setSnoozeMinutes(int minutes)
{
    if (minutes <= 0) {
        delete snoozeButton;
        snoozeButton = nullptr;
        return;
    }
    if (!snoozeButton) {
        snoozeButton = new QPushButton(this);
        QFont font = snoozeButton->font();
        font.setPointSize(snoozeButtonPointSize);
        snoozeButton->setFont(font);
        snoozeButton->setStyleSheet(QLatin1String(snoozeButtonStyle));
        // Neither Enter nor Space may snooze by chance: the key S does.
        snoozeButton->setAutoDefault(false);
        snoozeButton->setFocusPolicy(Qt::NoFocus);
        connect(snoozeButton, &QPushButton::clicked, this, &ExpirationDialog::snooze);
        layout()->addWidget(snoozeButton);
        layout()->setAlignment(snoozeButton, Qt::AlignHCenter);
    }
    snoozeButton->setText(tr("Snooze %n min", nullptr, minutes));
    shrinkPictureToArea();
}

// The picture was made for the room the window had before the button came.
void ExpirationDialog::shrinkPictureToArea()
{
    const QPixmap picture = imageLabel->pixmap();
    const QSize area = pictureArea();
    if (picture.isNull() || area.isEmpty()
        || (picture.width() <= area.width() && picture.height() <= area.height()))
        return;
    QPixmap smaller = picture.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    smaller.setDevicePixelRatio(picture.devicePixelRatio());
    imageLabel->setPixmap(smaller);
}

void ExpirationDialog::keyPressEvent(QKeyEvent *event)
{
    const bool plainS = event->key() == Qt::Key_S
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (snoozeButton && plainS)
        snooze();
    else
        QDialog::keyPressEvent(event);
}

void ExpirationDialog::snooze()
{
    rememberShownPhoto();
    done(Snoozed);
}

void ExpirationDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // Another program's window that was active stays so: nothing hands the
    // focus to this program's windows. One of this program's gets it back.
    if (activeBeforeRing && activeBeforeRing->isVisible())
        activeBeforeRing->activateWindow();
}

void ExpirationDialog::rememberShownPhoto()
{
    // An empty name means that no photo was ever chosen or stored; writing
    // it would only add an empty key to a store that had none.
    if (!lastShownPhoto.isEmpty()) {
        QSettings settings;
        settings.setValue(QLatin1String(SettingsKeys::lastShownPhoto), lastShownPhoto);
    }
}

// The snooze button takes its own clicks: only those elsewhere come here.
void ExpirationDialog::mousePressEvent(QMouseEvent *)
{
    rememberShownPhoto();
    accept();
}
