#include "alarmsound.h"
#include "expirationdialog.h"
#include "modalanswerer.h"
#include "randomsource.h"
#include "settingskeys.h"
#include "systembeep.h"
#include "testenvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include <limits>

#include <unistd.h>

// The window the user sees when an alarm goes off: its look, the photo it
// picks, what a click records, and how it copes with odd photos folders.
class TestExpirationDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void designedForm();
    void formOrderAndLayout();
    void sentenceAndNumbers_data();
    void sentenceAndNumbers();
    void coversPrimaryScreenAndStaysOnTop();
    void coloursAsRendered();
    void pointingHandEverywhere();

    void builtInPictureWithoutPhotos();
    void singlePhotoEveryTimeWithOneDraw();
    void secondPhotoAfterFirstWasLastShown();
    void tenUnluckyDrawsShowTheSamePhotoAgain();
    void firstRunKeepsFirstDraw_data();
    void firstRunKeepsFirstDraw();
    void onlyJpegAndPngFilesCount();
    void photoRecognisedByContent();
    void scaleOption_data();
    void scaleOption();
    void pictureShownWhole_data();
    void pictureShownWhole();
    void sentenceStaysOnScreen_data();
    void sentenceStaysOnScreen();

    void clickRecordsPhotoName_data();
    void clickRecordsPhotoName();
    void builtInPictureLeavesStoredNameAlone_data();
    void builtInPictureLeavesStoredNameAlone();
    void escapeRecordsNothing();
    void stackedDialogsShareLastShownName();
    void snoozeOrDismiss_data();
    void snoozeOrDismiss();

    void beep_data();
    void beep();

    void damagedPhotos_data();
    void damagedPhotos();
    void largeJpeg_data();
    void largeJpeg();
    void tenThousandPhotos_data();
    void tenThousandPhotos();
    void oddPhotosFolders_data();
    void oddPhotosFolders();

private:
    int beeps = 0;
};

static const QColor red(255, 0, 0);
static const QColor green(0, 255, 0);
static const QColor blue(0, 0, 255);

static QString photosFolder()
{
    return QDir::currentPath() + QLatin1String("/photos");
}

static QString photoPath(const QString &name)
{
    return photosFolder() + QLatin1Char('/') + name;
}

static void writePhoto(const QString &name, const QColor &colour, const char *format = nullptr)
{
    QDir().mkpath(photosFolder());
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(photoPath(name), format));
}

static void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

static bool sameColour(const QColor &a, const QColor &b)
{
    // JPEG may shift a flat colour by a step or two.
    const int slack = 8;
    return qAbs(a.red() - b.red()) <= slack && qAbs(a.green() - b.green()) <= slack
        && qAbs(a.blue() - b.blue()) <= slack;
}

static QLabel *label(const QDialog &dialog, const char *name)
{
    return dialog.findChild<QLabel *>(QLatin1String(name));
}

static QPixmap shownPicture(const QDialog &dialog)
{
    return label(dialog, "imageLabel")->pixmap();
}

static QColor shownColour(const QDialog &dialog)
{
    const QImage image = shownPicture(dialog).toImage();
    if (image.isNull())
        return QColor();
    return image.pixelColor(image.rect().center());
}

static void storeLastPhoto(const QString &name)
{
    QSettings settings;
    settings.setValue(QLatin1String(SettingsKeys::lastShownPhoto), name);
}

static QString storedLastPhoto()
{
    const QSettings settings;
    return SettingsKeys::readLastShownPhoto(settings);
}

static bool lastPhotoStored()
{
    const QSettings settings;
    return settings.contains(QLatin1String(SettingsKeys::lastShownPhoto));
}

static void storeOption(const SettingsKeys::BoolOption &option, bool value)
{
    QSettings settings;
    option.write(settings, value);
}

// A value that tells where the generator stands.
static int generatorPosition()
{
    return RandomSource::draw(std::numeric_limits<int>::max());
}

// Where the generator stands after `draws` draws from `seed`.
static int positionAfter(quint32 seed, int draws)
{
    RandomSource::seed(seed);
    for (int i = 0; i < draws; ++i)
        RandomSource::draw(1);
    return generatorPosition();
}

// The first seed whose first draws among `count` candidates are `indexes`.
static quint32 seedDrawing(int count, const QList<int> &indexes)
{
    for (quint32 seed = 1;; ++seed) {
        RandomSource::seed(seed);
        bool matches = true;
        for (int index : indexes)
            matches = matches && RandomSource::draw(count) == index;
        if (matches)
            return seed;
    }
}

// Runs the dialog as the main window does and lets `answer` act as the user.
static int runDialog(ExpirationDialog &dialog, const ModalAnswerer::Answer &answer)
{
    ModalAnswerer answerer(answer);
    const int result = dialog.exec();
    if (!answerer.answered())
        qWarning("nobody answered the dialog");
    return result;
}

static void clickOn(
    QWidget *dialog, Qt::MouseButton button = Qt::LeftButton, const QPoint &position = QPoint())
{
    const QPoint where = position.isNull() ? dialog->rect().center() : position;
    QTest::mouseClick(dialog->windowHandle(), button, Qt::NoModifier, where);
}

static const ModalAnswerer::Answer click = [](QWidget *dialog) {
    clickOn(dialog);
};

static quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (char byte : data) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

static QByteArray pngChunk(const char *type, const QByteArray &data)
{
    QByteArray chunk;
    QDataStream stream(&chunk, QIODevice::WriteOnly);
    stream << static_cast<quint32>(data.size());
    const QByteArray typed = QByteArray(type) + data;
    stream.writeRawData(typed.constData(), typed.size());
    stream << crc32(typed);
    return chunk;
}

// A small file that declares a picture of 50000 x 50000 RGBA pixels, ten
// gigabytes once decoded.
static QByteArray decompressionBomb()
{
    QByteArray header;
    QDataStream stream(&header, QIODevice::WriteOnly);
    stream << quint32(50000) << quint32(50000) << quint8(8) << quint8(6) << quint8(0) << quint8(0)
           << quint8(0);
    // qCompress puts the uncompressed length before the zlib stream.
    const QByteArray rows = qCompress(QByteArray(1 << 20, '\0')).mid(4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", rows)
        + pngChunk("IEND", QByteArray());
}

static QByteArray pngOfNoise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, noise.generate());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void TestExpirationDialog::init()
{
    TestEnvironment::instance().reset();
    QDir::setSearchPaths(QLatin1String("photos"), { photosFolder() });
    beeps = 0;
    SystemBeep::replace([this] { ++beeps; });
}

void TestExpirationDialog::cleanup()
{
    SystemBeep::replace({});
    // The next reset() removes folders only: give it back a folder it may enter.
    const QFileInfo photos(photosFolder());
    if (photos.isSymLink() || photos.isFile())
        QFile::remove(photosFolder());
    else if (photos.isDir())
        QFile::setPermissions(
            photosFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(QDir::currentPath() + QLatin1String("/more-photos")).removeRecursively();
}

void TestExpirationDialog::designedForm()
{
    Ui::ExpirationDialog form;
    QDialog dialog;
    form.setupUi(&dialog);

    QCOMPARE(dialog.objectName(), QStringLiteral("ExpirationDialog"));
    QCOMPARE(dialog.size(), QSize(813, 608));
    QCOMPARE(dialog.minimumSize(), QSize(0, 0));
    QCOMPARE(dialog.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QCOMPARE(dialog.sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(dialog.sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    QVERIFY(dialog.isModal());
    QVERIFY(dialog.windowTitle().isEmpty());
    QVERIFY(!dialog.windowIcon().isNull());
    QCOMPARE(dialog.windowIcon().pixmap(16).toImage(),
        QIcon(QStringLiteral(":/icons/images/dorvex_mini.png")).pixmap(16).toImage());

    QCOMPARE(form.titleLabel->text(), QStringLiteral("Bip - bip!!"));
    QCOMPARE(form.alarmLabel->text(), QStringLiteral("Alarm expired"));
    QCOMPARE(form.alarmNumberLeftLabel->text(), QStringLiteral("3"));
    QCOMPARE(form.alarmNumberRightLabel->text(), QStringLiteral("3"));
    QVERIFY(form.imageLabel->text().isEmpty());
    QVERIFY(!form.imageLabel->hasScaledContents());
    QVERIFY(form.alarmLabel->wordWrap());

    QCOMPARE(form.titleLabel->font().pointSize(), 48);
    QCOMPARE(form.alarmLabel->font().pointSize(), 28);
    QCOMPARE(form.alarmNumberLeftLabel->font().pointSize(), 248);
    QCOMPARE(form.alarmNumberRightLabel->font().pointSize(), 248);
    QCOMPARE(form.imageLabel->font(), dialog.font());
    for (QLabel *text : { form.titleLabel, form.alarmLabel, form.alarmNumberLeftLabel,
             form.imageLabel, form.alarmNumberRightLabel })
        QCOMPARE(text->alignment(), Qt::AlignCenter);

    const QPalette window = dialog.palette();
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const QColor grey(118, 116, 108);
    const QColor orange(255, 85, 0);
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        QCOMPARE(window.color(group, QPalette::WindowText), black);
        QCOMPARE(window.color(group, QPalette::Base), white);
        QCOMPARE(window.color(group, QPalette::Window), black);
        QCOMPARE(form.titleLabel->palette().color(group, QPalette::WindowText), white);
        QCOMPARE(form.alarmLabel->palette().color(group, QPalette::WindowText), white);
        QCOMPARE(form.alarmNumberLeftLabel->palette().color(group, QPalette::WindowText), orange);
        QCOMPARE(form.alarmNumberRightLabel->palette().color(group, QPalette::WindowText), orange);
    }
    QCOMPARE(window.color(QPalette::Disabled, QPalette::WindowText), grey);
    QCOMPARE(window.color(QPalette::Disabled, QPalette::Base), black);
    QCOMPARE(window.color(QPalette::Disabled, QPalette::Window), black);
    for (QLabel *text : { form.titleLabel, form.alarmLabel, form.alarmNumberLeftLabel,
             form.alarmNumberRightLabel }) {
        QCOMPARE(text->palette().color(QPalette::Disabled, QPalette::WindowText), grey);
        QCOMPARE(text->palette().color(QPalette::Active, QPalette::Window), black);
    }
    QCOMPARE(form.imageLabel->palette().color(QPalette::Active, QPalette::WindowText), black);
}

void TestExpirationDialog::formOrderAndLayout()
{
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);

    QStringList created;
    for (QObject *child : dialog.children())
        if (child->isWidgetType() || qobject_cast<QLayout *>(child))
            created << child->objectName();
    QCOMPARE(created,
        QStringList({ "vboxLayout", "titleLabel", "alarmLabel", "dueLabel", "alarmNumberLeftLabel",
            "imageLabel", "alarmNumberRightLabel" }));

    auto *column = qobject_cast<QVBoxLayout *>(dialog.layout());
    QVERIFY(column);
    QCOMPARE(column->count(), 6);
    QCOMPARE(column->itemAt(0)->widget(), label(dialog, "titleLabel"));
    QCOMPARE(column->itemAt(1)->widget(), label(dialog, "alarmLabel"));
    QCOMPARE(column->itemAt(2)->widget(), label(dialog, "dueLabel"));
    auto *row = qobject_cast<QHBoxLayout *>(column->itemAt(4)->layout());
    QVERIFY(row);
    QCOMPARE(row->objectName(), QStringLiteral("hboxLayout"));
    QCOMPARE(row->spacing(), 0);
    QCOMPARE(row->count(), 5);
    QCOMPARE(row->itemAt(0)->widget(), label(dialog, "alarmNumberLeftLabel"));
    QCOMPARE(row->itemAt(2)->widget(), label(dialog, "imageLabel"));
    QCOMPARE(row->itemAt(4)->widget(), label(dialog, "alarmNumberRightLabel"));

    struct Gap
    {
        QLayoutItem *item;
        QSize size;
        QSizePolicy::Policy horizontal;
        QSizePolicy::Policy vertical;
    };
    const QList<Gap> gaps {
        { column->itemAt(3), { 795, 19 }, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding },
        { row->itemAt(1), { 20, 40 }, QSizePolicy::Minimum, QSizePolicy::Minimum },
        { row->itemAt(3), { 20, 40 }, QSizePolicy::Minimum, QSizePolicy::Minimum },
        { column->itemAt(5), { 795, 21 }, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding },
    };
    for (const Gap &gap : gaps) {
        QSpacerItem *spacer = gap.item->spacerItem();
        QVERIFY(spacer);
        QCOMPARE(spacer->sizeHint(), gap.size);
        QCOMPARE(spacer->sizePolicy().horizontalPolicy(), gap.horizontal);
        QCOMPARE(spacer->sizePolicy().verticalPolicy(), gap.vertical);
    }

    for (const char *name : { "titleLabel", "alarmLabel" }) {
        QCOMPARE(label(dialog, name)->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
        QCOMPARE(label(dialog, name)->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
    }
    QCOMPARE(label(dialog, "imageLabel")->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(label(dialog, "imageLabel")->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
}

void TestExpirationDialog::sentenceAndNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("digits");

    QTest::newRow("alarm 1") << "Tea" << 1 << "Alarm \"Tea\" expired!"
                             << "1";
    QTest::newRow("alarm 2") << "alarm 2" << 2 << "Alarm \"alarm 2\" expired!"
                             << "2";
    QTest::newRow("empty text") << "" << 3 << "Alarm \"\" expired!"
                                << "3";
    QTest::newRow("placeholder in text") << "%1 and %2" << 3 << "Alarm \"%1 and %2\" expired!"
                                         << "3";
    QTest::newRow("two digits") << "Bus" << 12 << "Alarm \"Bus\" expired!"
                                << "12";
    QTest::newRow("negative") << "Odd" << -7 << "Alarm \"Odd\" expired!"
                              << "-7";
}

void TestExpirationDialog::sentenceAndNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QFETCH(QString, sentence);
    QFETCH(QString, digits);

    ExpirationDialog dialog(text, number);
    QCOMPARE(label(dialog, "titleLabel")->text(), QStringLiteral("Bip - bip!!"));
    QCOMPARE(label(dialog, "alarmLabel")->text(), sentence);
    QCOMPARE(label(dialog, "alarmNumberLeftLabel")->text(), digits);
    QCOMPARE(label(dialog, "alarmNumberRightLabel")->text(), digits);
    QVERIFY(dialog.windowTitle().isEmpty());
}

void TestExpirationDialog::coversPrimaryScreenAndStaysOnTop()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QScreen *primary = QGuiApplication::primaryScreen();
    const QSize screenSize = primary->geometry().size();

    // The main window may sit on any screen; the alarm still covers the
    // primary one.
    QWidget mainWindow;
    mainWindow.setScreen(screens.last());
    mainWindow.move(screens.last()->geometry().topLeft());
    ExpirationDialog dialog(QStringLiteral("Tea"), 2, &mainWindow);

    QCOMPARE(dialog.minimumSize(), screenSize);
    QCOMPARE(dialog.maximumSize(), screenSize);
    QVERIFY(dialog.windowState() & Qt::WindowFullScreen);
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(dialog.isModal());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.screen(), primary);
    QCOMPARE(dialog.size(), screenSize);
    QVERIFY(primary->geometry().contains(dialog.geometry().center()));
    dialog.resize(screenSize / 2);
    QCOMPARE(dialog.size(), screenSize);
}

void TestExpirationDialog::coloursAsRendered()
{
    ExpirationDialog dialog(QStringLiteral("Tea"), 2);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage shot = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);

    const auto countIn = [&shot](const QRect &area, const QColor &colour) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += shot.pixelColor(x, y) == colour;
        return count;
    };
    const auto area = [&dialog](const char *name) {
        return label(dialog, name)->geometry() & dialog.rect();
    };
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const QColor orange(255, 85, 0);

    QCOMPARE(shot.pixelColor(0, 0), black);
    QCOMPARE(shot.pixelColor(shot.width() - 1, shot.height() - 1), black);
    for (const char *name : { "titleLabel", "alarmLabel" }) {
        QVERIFY2(countIn(area(name), white) > 50, name);
        QCOMPARE(countIn(area(name), orange), 0);
    }
    for (const char *name : { "alarmNumberLeftLabel", "alarmNumberRightLabel" }) {
        QVERIFY2(countIn(area(name), orange) > 500, name);
        QCOMPARE(countIn(area(name), white), 0);
    }
}

void TestExpirationDialog::pointingHandEverywhere()
{
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QCOMPARE(dialog.cursor().shape(), Qt::PointingHandCursor);
    for (const char *name :
        { "imageLabel", "alarmNumberLeftLabel", "alarmNumberRightLabel", "titleLabel" })
        QCOMPARE(label(dialog, name)->cursor().shape(), Qt::PointingHandCursor);
}

void TestExpirationDialog::builtInPictureWithoutPhotos()
{
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    const QImage builtIn = QPixmap(QStringLiteral(":/images/images/clocmain1.jpg")).toImage();
    QVERIFY(!builtIn.isNull());
    QCOMPARE(shownPicture(dialog).toImage(), builtIn);
}

void TestExpirationDialog::singlePhotoEveryTimeWithOneDraw()
{
    writePhoto(QStringLiteral("only.png"), green);
    for (int round = 0; round < 5; ++round) {
        const quint32 seed = 100 + round;
        const int oneDrawLater = positionAfter(seed, 1);
        RandomSource::seed(seed);
        ExpirationDialog dialog(QStringLiteral("Tea"), 1);
        QCOMPARE(generatorPosition(), oneDrawLater);
        QCOMPARE(shownColour(dialog), green);
        QCOMPARE(runDialog(dialog, click), int(QDialog::Accepted));
        QCOMPARE(storedLastPhoto(), QStringLiteral("photos:only.png"));
    }
}

void TestExpirationDialog::secondPhotoAfterFirstWasLastShown()
{
    writePhoto(QStringLiteral("a.png"), red);
    writePhoto(QStringLiteral("b.png"), blue);
    storeLastPhoto(QStringLiteral("photos:a.png"));

    // Two draws hit the photo just dismissed; the third is the other one.
    const quint32 seed = seedDrawing(2, { 0, 0, 1 });
    const int threeDrawsLater = positionAfter(seed, 3);
    RandomSource::seed(seed);
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QCOMPARE(generatorPosition(), threeDrawsLater);
    QCOMPARE(shownColour(dialog), blue);
    runDialog(dialog, click);
    QCOMPARE(storedLastPhoto(), QStringLiteral("photos:b.png"));
}

void TestExpirationDialog::tenUnluckyDrawsShowTheSamePhotoAgain()
{
    writePhoto(QStringLiteral("a.png"), red);
    writePhoto(QStringLiteral("b.png"), blue);
    storeLastPhoto(QStringLiteral("photos:a.png"));

    const quint32 seed = seedDrawing(2, QList<int>(10, 0));
    const int tenDrawsLater = positionAfter(seed, 10);
    RandomSource::seed(seed);
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QCOMPARE(generatorPosition(), tenDrawsLater);
    QCOMPARE(shownColour(dialog), red);
}

void TestExpirationDialog::firstRunKeepsFirstDraw_data()
{
    QTest::addColumn<int>("firstDraw");
    QTest::newRow("first photo") << 0;
    QTest::newRow("second photo") << 1;
    QTest::newRow("third photo") << 2;
}

void TestExpirationDialog::firstRunKeepsFirstDraw()
{
    QFETCH(int, firstDraw);
    writePhoto(QStringLiteral("a.png"), red);
    writePhoto(QStringLiteral("b.png"), green);
    writePhoto(QStringLiteral("c.png"), blue);
    const QList<QColor> colours { red, green, blue };
    QVERIFY(!lastPhotoStored());

    // The second draw differs, so a dialog that drew again would show it.
    const quint32 seed = seedDrawing(3, { firstDraw, (firstDraw + 1) % 3 });
    const int oneDrawLater = positionAfter(seed, 1);
    RandomSource::seed(seed);
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QCOMPARE(generatorPosition(), oneDrawLater);
    QCOMPARE(shownColour(dialog), colours.at(firstDraw));
}

void TestExpirationDialog::onlyJpegAndPngFilesCount()
{
    writePhoto(QStringLiteral("a.png"), red);
    writePhoto(QStringLiteral("B.JPG"), green, "JPG");
    writePhoto(QStringLiteral("c.PNG"), blue, "PNG");
    writeFile(photoPath(QStringLiteral("notes.txt")), "not a photo");
    QVERIFY(QDir(photosFolder()).mkdir(QStringLiteral("x.jpg")));
    writePhoto(QStringLiteral(".hidden.jpg"), red);
    QVERIFY(QFile::link(
        QStringLiteral("/nonexistent/broken.jpg"), photoPath(QStringLiteral("broken.jpg"))));

    // Name order without regard to case.
    const QStringList photos { "photos:a.png", "photos:B.JPG", "photos:c.PNG" };
    QSet<QString> seen;
    for (quint32 seed = 1; seed <= 30; ++seed) {
        RandomSource::seed(seed);
        const QString expected = photos.at(RandomSource::draw(photos.size()));
        RandomSource::seed(seed);
        ExpirationDialog dialog(QStringLiteral("Tea"), 1);
        runDialog(dialog, click);
        QCOMPARE(storedLastPhoto(), expected);
        seen << expected;
        QSettings().remove(QLatin1String(SettingsKeys::lastShownPhoto));
    }
    QCOMPARE(seen.size(), photos.size());
}

void TestExpirationDialog::photoRecognisedByContent()
{
    writePhoto(QStringLiteral("really-a-png.jpg"), blue, "PNG");
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QCOMPARE(shownColour(dialog), blue);
}

void TestExpirationDialog::scaleOption_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("scale");
    QTest::addColumn<bool>("enlarged");

    QTest::newRow("absent") << false << false << false;
    QTest::newRow("off") << true << false << false;
    QTest::newRow("on") << true << true << true;
}

void TestExpirationDialog::scaleOption()
{
    QFETCH(bool, stored);
    QFETCH(bool, scale);
    QFETCH(bool, enlarged);
    if (stored)
        storeOption(SettingsKeys::scaleClockImage, scale);
    writePhoto(QStringLiteral("small.png"), green);

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLabel *picture = label(dialog, "imageLabel");
    QVERIFY(!picture->hasScaledContents());

    // Enlarged or not, the 64 x 48 photo keeps its shape and leaves black
    // beside it: it is never stretched to its label.
    const QSize shown = shownPicture(dialog).size();
    QCOMPARE(shown.width() > 64, enlarged);
    QVERIFY(qAbs(shown.width() * 48 - shown.height() * 64) <= 64);
    const QImage shot = picture->grab().toImage();
    QVERIFY(!sameColour(shot.pixelColor(2, 2), green));
    QVERIFY(sameColour(shot.pixelColor(shot.rect().center()), green));
}

// Where on the screen a flat colour was drawn, in device pixels.
static QRect drawnArea(const QImage &shot, const QColor &colour)
{
    const QImage pixels = shot.convertToFormat(QImage::Format_RGB32);
    QRect found;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            if (sameColour(QColor(line[x]), colour))
                found |= QRect(x, y, 1, 1);
    }
    return found;
}

static QRect inDevicePixels(const QRect &rect, qreal ratio)
{
    return QRect(
        (QRectF(rect).topLeft() * ratio).toPoint(), (QSizeF(rect.size()) * ratio).toSize());
}

void TestExpirationDialog::pictureShownWhole_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<bool>("scale");
    QTest::addColumn<bool>("ownSize");

    const struct
    {
        const char *name;
        QSize size;
    } photos[] = {
        { "tiny", { 40, 30 } },
        { "portrait", { 1200, 1800 } },
        { "landscape", { 4000, 3000 } },
        { "panorama", { 6000, 900 } },
        { "huge", { 6000, 4000 } },
    };
    for (const auto &photo : photos) {
        QTest::addRow("%s, own size", photo.name)
            << photo.size << false << (photo.size.width() < 100);
        QTest::addRow("%s, scaled", photo.name) << photo.size << true << false;
    }
}

// Run on screens of several sizes and scales (see CMakeLists.txt).
void TestExpirationDialog::pictureShownWhole()
{
    QFETCH(QSize, photo);
    QFETCH(bool, scale);
    QFETCH(bool, ownSize);
    storeOption(SettingsKeys::scaleClockImage, scale);
    QDir().mkpath(photosFolder());
    {
        QImage image(photo, QImage::Format_RGB32);
        image.fill(green);
        QVERIFY(image.save(photoPath(QStringLiteral("photo.jpg")), "JPG"));
    }

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage shot = dialog.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QRect drawn = drawnArea(shot, green);
    qInfo("%d x %d photo drawn at %d,%d %d x %d on a %d x %d screen", photo.width(), photo.height(),
        drawn.x(), drawn.y(), drawn.width(), drawn.height(), shot.width(), shot.height());

    // Whole, on the screen, clear of the text and the digits.
    QVERIFY(!drawn.isEmpty());
    for (const QPoint &corner :
        { drawn.topLeft(), drawn.topRight(), drawn.bottomLeft(), drawn.bottomRight() })
        QVERIFY(shot.rect().contains(corner));
    const auto area = [&](const char *name) {
        return inDevicePixels(label(dialog, name)->geometry(), ratio);
    };
    for (const char *name :
        { "titleLabel", "alarmLabel", "alarmNumberLeftLabel", "alarmNumberRightLabel" })
        QVERIFY2(!drawn.intersects(area(name)), name);

    // Decoded at the size it is drawn, and never stretched.
    QCOMPARE(shownPicture(dialog).size(), drawn.size());
    QVERIFY(qAbs(qint64(drawn.width()) * photo.height() - qint64(drawn.height()) * photo.width())
        <= qMax(photo.width(), photo.height()));
    if (ownSize) {
        QCOMPARE(drawn.size(), photo);
        return;
    }
    // As large as the room allows: it reaches the text above and the screen's
    // bottom, or the digits on both sides, but for the layout's gaps.
    const int gaps = qRound(100 * ratio);
    const int roomAbove = shot.height() - area("alarmLabel").bottom();
    const int roomBeside
        = area("alarmNumberRightLabel").left() - area("alarmNumberLeftLabel").right();
    QVERIFY2(roomAbove - drawn.height() <= gaps || roomBeside - drawn.width() <= gaps,
        qPrintable(QStringLiteral("room %1 x %2").arg(roomBeside).arg(roomAbove)));
}

void TestExpirationDialog::sentenceStaysOnScreen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("unchanged");
    QTest::addColumn<bool>("cutShort");

    const QString german = QStringLiteral("Termin bei der Steuerberaterin wegen der "
                                          "Einkommensteuererklärung, danach Brötchen kaufen");
    QTest::newRow("a long German sentence") << german << true << false;
    // Broken inside the word, and on a small screen cut short too.
    QTest::newRow("one endless word")
        << QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitänsmütze").repeated(2) << false
        << false;
    QTest::newRow("a whole letter") << (german + QLatin1String(". ")).repeated(80) << false << true;
    QTest::newRow("markup") << "<b>G</b> a<b <img src=\"/etc/passwd\"> &lt;Tea & biscuits&gt; <"
                            << true << false;
    QTest::newRow("a megabyte") << QStringLiteral("<i>x</i> ").repeated(1 << 17) << false << true;
}

void TestExpirationDialog::sentenceStaysOnScreen()
{
    QFETCH(QString, text);
    QFETCH(bool, unchanged);
    QFETCH(bool, cutShort);
    writePhoto(QStringLiteral("photo.png"), green);

    ExpirationDialog dialog(text, 1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLabel *sentence = label(dialog, "alarmLabel");
    const QString shown = sentence->text();
    const QString expected = QStringLiteral("Alarm \"%1\" expired!").arg(text);
    if (unchanged)
        QCOMPARE(shown, expected);
    // Broken into lines, and perhaps cut short, but nothing else changed.
    const auto squeezed = [](QString line) {
        return line.remove(QRegularExpression(QStringLiteral("\\s")));
    };
    QString kept = squeezed(shown);
    if (cutShort)
        QVERIFY(kept.endsWith(QChar(0x2026)));
    if (kept.endsWith(QChar(0x2026)))
        kept.chop(1);
    QVERIFY(squeezed(expected).startsWith(kept));
    QCOMPARE(sentence->textFormat(), Qt::PlainText);
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(&dialog);
    QVERIFY(read->text(QAccessible::Name).startsWith(QLatin1String("Alarm 1: ") + text.left(900)));
    QVERIFY(!read->text(QAccessible::Description).isEmpty()); // how to dismiss it

    // Every line of it within the label, and the label within the screen,
    // over at most half of it, with the picture still whole below.
    const QRect needed = sentence->fontMetrics().boundingRect(
        sentence->contentsRect(), Qt::AlignCenter | Qt::TextWordWrap, shown);
    QVERIFY(sentence->contentsRect().contains(needed));
    QVERIFY(dialog.rect().contains(sentence->geometry()));
    QVERIFY(sentence->height() <= dialog.height() / 2);
    const QImage shot = dialog.grab().toImage();
    const QRect drawn = drawnArea(shot, green);
    QVERIFY(!drawn.isEmpty());
    QVERIFY(shot.rect().contains(drawn));
    QVERIFY(drawn.top() > inDevicePixels(sentence->geometry(), shot.devicePixelRatio()).bottom());
}

void TestExpirationDialog::clickRecordsPhotoName_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("target");

    QTest::newRow("left on the picture") << Qt::LeftButton << "imageLabel";
    QTest::newRow("right on a number") << Qt::RightButton << "alarmNumberLeftLabel";
    QTest::newRow("middle on the sentence") << Qt::MiddleButton << "alarmLabel";
    QTest::newRow("left on the background") << Qt::LeftButton << "";
}

void TestExpirationDialog::clickRecordsPhotoName()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, target);
    writePhoto(QStringLiteral("Sunrise.png"), red);

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    const int result = runDialog(dialog, [&](QWidget *shown) {
        QPoint where(1, 1);
        if (!target.isEmpty()) {
            QWidget *widget = shown->findChild<QWidget *>(target);
            where = widget->mapTo(shown, widget->rect().center());
        }
        clickOn(shown, button, where);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(storedLastPhoto(), QStringLiteral("photos:Sunrise.png"));
    QVERIFY(!dialog.isVisible());
}

void TestExpirationDialog::builtInPictureLeavesStoredNameAlone_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("a photo since removed") << "photos:gone.jpg";
    QTest::newRow("nothing") << "";
}

void TestExpirationDialog::builtInPictureLeavesStoredNameAlone()
{
    QFETCH(QString, stored);
    if (!stored.isEmpty())
        storeLastPhoto(stored);

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QCOMPARE(runDialog(dialog, click), int(QDialog::Accepted));
    QCOMPARE(lastPhotoStored(), !stored.isEmpty());
    QCOMPARE(storedLastPhoto(), stored);
}

void TestExpirationDialog::escapeRecordsNothing()
{
    writePhoto(QStringLiteral("a.png"), red);
    writePhoto(QStringLiteral("b.png"), blue);
    storeLastPhoto(QStringLiteral("photos:a.png"));

    const quint32 seed = seedDrawing(2, { 1 });
    RandomSource::seed(seed);
    {
        ExpirationDialog dialog(QStringLiteral("Tea"), 1);
        QCOMPARE(shownColour(dialog), blue);
        QCOMPARE(runDialog(dialog, ModalAnswerer::pressEscape()), int(QDialog::Rejected));
    }
    QCOMPARE(storedLastPhoto(), QStringLiteral("photos:a.png"));

    // Not dismissed by a click, so the blue photo may come straight back.
    RandomSource::seed(seed);
    ExpirationDialog next(QStringLiteral("Tea"), 1);
    QCOMPARE(shownColour(next), blue);
}

void TestExpirationDialog::stackedDialogsShareLastShownName()
{
    writePhoto(QStringLiteral("a.png"), red);
    writePhoto(QStringLiteral("b.png"), blue);

    RandomSource::seed(seedDrawing(2, { 0 }));
    ExpirationDialog first(QStringLiteral("Tea"), 1);
    QCOMPARE(shownColour(first), red);

    int secondResult = -1;
    bool firstStayedOpen = false;
    const int firstResult = runDialog(first, [&](QWidget *) {
        RandomSource::seed(seedDrawing(2, { 1 }));
        ExpirationDialog second(QStringLiteral("Bus"), 2);
        QCOMPARE(shownColour(second), blue);
        secondResult = runDialog(second, [&](QWidget *shown) {
            clickOn(&first);
            firstStayedOpen = first.isVisible();
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        QVERIFY(!lastPhotoStored());
        clickOn(&first);
    });
    QCOMPARE(secondResult, int(QDialog::Rejected));
    QVERIFY2(firstStayedOpen, "the first dialog took a click while the second was open");
    QCOMPARE(firstResult, int(QDialog::Accepted));
    QCOMPARE(storedLastPhoto(), QStringLiteral("photos:b.png"));
}

void TestExpirationDialog::snoozeOrDismiss_data()
{
    QTest::addColumn<int>("snoozeMinutes");
    QTest::addColumn<QString>("gesture"); // a click, or a key; Escape ends what is left open
    QTest::addColumn<int>("result");
    QTest::newRow("Snooze button") << 10 << "click" << int(ExpirationDialog::Snoozed);
    QTest::newRow("S key") << 5 << "S" << int(ExpirationDialog::Snoozed);
    QTest::newRow("click beside the button") << 10 << "click beside" << int(QDialog::Accepted);
    QTest::newRow("Enter does not snooze") << 10 << "Return" << int(QDialog::Rejected);
    QTest::newRow("S without a snooze") << 0 << "S" << int(QDialog::Rejected);
}

// The photo counts as seen unless the alarm was sent away with Escape.
void TestExpirationDialog::snoozeOrDismiss()
{
    QFETCH(int, snoozeMinutes);
    QFETCH(QString, gesture);
    QFETCH(int, result);
    writePhoto(QStringLiteral("Sunrise.png"), red);
    // Grown to the room it has, the photo would reach the button if it could.
    storeOption(SettingsKeys::scaleClockImage, true);
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    dialog.setSnoozeMinutes(snoozeMinutes);
    auto *button = dialog.findChild<QPushButton *>();
    QCOMPARE(button != nullptr, snoozeMinutes > 0);
    const int ended = runDialog(dialog, [&](QWidget *shown) {
        const QLabel *image = label(dialog, "imageLabel");
        const qreal pictureBottom
            = image->geometry().center().y() + image->pixmap().deviceIndependentSize().height() / 2;
        QVERIFY(!button || pictureBottom < button->y());
        if (gesture == QLatin1String("click"))
            clickOn(shown, Qt::LeftButton, button->geometry().center());
        else if (gesture == QLatin1String("click beside"))
            clickOn(shown, Qt::LeftButton, button->geometry().topLeft() - QPoint(2, 2));
        else
            QTest::keyClick(shown, QKeySequence(gesture)[0].key());
        if (shown->isVisible())
            QTest::keyClick(shown, Qt::Key_Escape);
    });
    QCOMPARE(ended, result);
    QCOMPARE(lastPhotoStored(), result != int(QDialog::Rejected));
}

void TestExpirationDialog::beep_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("heard");

    QTest::newRow("absent") << false << false << false;
    QTest::newRow("off") << true << false << false;
    QTest::newRow("on") << true << true << true;
}

// Without a sound server here, the sound falls back to the bell, which rings
// from the moment the dialog shows until the click.
void TestExpirationDialog::beep()
{
    QFETCH(bool, stored);
    QFETCH(bool, enabled);
    QFETCH(bool, heard);
    if (stored)
        storeOption(SettingsKeys::beepOnAlarm, enabled);

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    QCOMPARE(beeps, 0);
    bool ringingWhileShown = false;
    runDialog(dialog, [&](QWidget *shown) {
        if (heard)
            QTRY_VERIFY_WITH_TIMEOUT(beeps > 0, 10000);
        ringingWhileShown = AlarmSound::instance().isRinging();
        clickOn(shown);
    });
    QCOMPARE(ringingWhileShown, heard);
    QVERIFY(!AlarmSound::instance().isRinging());
    if (!heard)
        QCOMPARE(beeps, 0);
}

void TestExpirationDialog::damagedPhotos_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QSize>("declaredSize");
    QTest::addColumn<bool>("goodPhotoBeside");

    const QByteArray png = pngOfNoise(200, 150);
    for (bool beside : { false, true }) {
        const char *others = beside ? ", a good photo beside" : "";
        QTest::addRow("empty jpg%s", others) << "empty.jpg" << QByteArray() << QSize() << beside;
        QTest::addRow("truncated png%s", others)
            << "cut.png" << png.left(png.size() / 2) << QSize(200, 150) << beside;
        QTest::addRow("text named png%s", others)
            << "photo.png" << QByteArray("Dear diary,\nnothing today.\n") << QSize() << beside;
        QTest::addRow("50000 x 50000 png%s", others)
            << "bomb.png" << decompressionBomb() << QSize(50000, 50000) << beside;
    }
}

void TestExpirationDialog::damagedPhotos()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QSize, declaredSize);
    QFETCH(bool, goodPhotoBeside);
    QDir().mkpath(photosFolder());
    writeFile(photoPath(name), content);
    if (goodPhotoBeside) {
        writePhoto(QStringLiteral("good.png"), green);
        // The damaged photo is drawn first, and passed over.
        const QStringList photos = QDir(photosFolder()).entryList(QDir::Files);
        RandomSource::seed(seedDrawing(photos.size(), { int(photos.indexOf(name)) }));
    }
    // The reader gets past the header, so what keeps the picture out lies
    // beyond it.
    if (declaredSize.isValid())
        QCOMPARE(QImageReader(photoPath(name)).size(), declaredSize);

    QElapsedTimer clock;
    clock.start();
    ExpirationDialog dialog(QStringLiteral("Tea"), 3);
    const qint64 elapsed = clock.elapsed();
    qInfo("%s: dialog built in %lld ms", qPrintable(name), elapsed);
    QVERIFY(elapsed < 10000);

    const QImage builtIn = QPixmap(QStringLiteral(":/images/images/clocmain1.jpg")).toImage();
    if (goodPhotoBeside)
        QCOMPARE(shownColour(dialog), green);
    else
        QCOMPARE(shownPicture(dialog).toImage(), builtIn);
    QCOMPARE(label(dialog, "alarmLabel")->text(), QStringLiteral("Alarm \"Tea\" expired!"));
    QCOMPARE(label(dialog, "alarmNumberLeftLabel")->text(), QStringLiteral("3"));
    QCOMPARE(label(dialog, "alarmNumberRightLabel")->text(), QStringLiteral("3"));
    QCOMPARE(runDialog(dialog, click), int(QDialog::Accepted));
    // Only a photo that was shown is remembered.
    QCOMPARE(storedLastPhoto(), goodPhotoBeside ? QStringLiteral("photos:good.png") : QString());
}

void TestExpirationDialog::largeJpeg_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("24 megapixels") << QSize(6000, 4000);
    QTest::newRow("48 megapixels") << QSize(8000, 6000);
}

void TestExpirationDialog::largeJpeg()
{
    QFETCH(QSize, size);
    QDir().mkpath(photosFolder());
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(blue);
        QPainter painter(&image);
        painter.fillRect(QRect(QPoint(), size / 2), red);
        painter.end();
        QVERIFY(image.save(photoPath(QStringLiteral("panorama.jpg")), "JPG", 10));
    }

    QElapsedTimer clock;
    clock.start();
    ExpirationDialog dialog(QStringLiteral("Tea"), 3);
    const qint64 elapsed = clock.elapsed();
    qInfo("%d x %d JPEG: dialog built in %lld ms", size.width(), size.height(), elapsed);
    QVERIFY(elapsed < 10000);

    // Decoded to the size of the screen, not its own, in one quarter red.
    const QImage shown = shownPicture(dialog).toImage();
    QVERIFY(shown.width() <= dialog.width() && shown.height() <= dialog.height());
    QVERIFY(qAbs(shown.width() * size.height() - shown.height() * size.width()) <= size.width());
    QVERIFY(sameColour(shown.pixelColor(shown.width() / 4, shown.height() / 4), red));
    QVERIFY(sameColour(shown.pixelColor(shown.width() * 3 / 4, shown.height() / 4), blue));
    QCOMPARE(label(dialog, "alarmLabel")->text(), QStringLiteral("Alarm \"Tea\" expired!"));
    QCOMPARE(label(dialog, "alarmNumberLeftLabel")->text(), QStringLiteral("3"));
}

void TestExpirationDialog::tenThousandPhotos_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("all good") << false;
    QTest::newRow("all damaged") << true;
}

void TestExpirationDialog::tenThousandPhotos()
{
    QFETCH(bool, damaged);
    const int count = 10000;
    QDir().mkpath(photosFolder());
    QByteArray tiny;
    {
        QBuffer buffer(&tiny);
        buffer.open(QIODevice::WriteOnly);
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(green);
        image.save(&buffer, "PNG");
    }
    if (damaged)
        tiny = tiny.left(20);
    for (int i = 0; i < count; ++i)
        writeFile(photoPath(QStringLiteral("photo%1.png").arg(i, 5, 10, QLatin1Char('0'))), tiny);

    const quint32 seed = 4242;
    RandomSource::seed(seed);
    const QString expected = QStringLiteral("photos:photo%1.png")
                                 .arg(RandomSource::draw(count), 5, 10, QLatin1Char('0'));
    RandomSource::seed(seed);

    QElapsedTimer clock;
    clock.start();
    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    const qint64 elapsed = clock.elapsed();
    qInfo("%d photos: dialog built in %lld ms", count, elapsed);
    QVERIFY(elapsed < 5000);

    if (damaged) {
        // A few draws are passed over, then the built-in picture stands in.
        QCOMPARE(shownPicture(dialog).toImage(),
            QPixmap(QStringLiteral(":/images/images/clocmain1.jpg")).toImage());
        return;
    }
    QCOMPARE(shownColour(dialog), green);
    runDialog(dialog, click);
    QCOMPARE(storedLastPhoto(), expected);
}

void TestExpirationDialog::oddPhotosFolders_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a file") << "file";
    QTest::newRow("a dangling link") << "dangling";
    QTest::newRow("an unreadable folder") << "unreadable";
    QTest::newRow("missing, then a real folder") << "second";
}

void TestExpirationDialog::oddPhotosFolders()
{
    QFETCH(QString, kind);
    const QString other = QDir::currentPath() + QLatin1String("/more-photos");

    bool photoExpected = false;
    if (kind == QLatin1String("file")) {
        writeFile(photosFolder(), "just a file");
    } else if (kind == QLatin1String("dangling")) {
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/photos"), photosFolder()));
    } else if (kind == QLatin1String("unreadable")) {
        writePhoto(QStringLiteral("hidden-away.png"), red);
        QVERIFY(QFile::setPermissions(photosFolder(), QFileDevice::Permissions()));
        if (::access(QFile::encodeName(photosFolder()).constData(), R_OK | X_OK) == 0)
            QSKIP("This user reads folders whatever their permissions say (root).");
    } else {
        QVERIFY(QDir().mkpath(other));
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(green);
        QVERIFY(image.save(other + QLatin1String("/found.png")));
        QDir::setSearchPaths(QLatin1String("photos"), { photosFolder(), other });
        photoExpected = true;
    }

    ExpirationDialog dialog(QStringLiteral("Tea"), 1);
    if (photoExpected) {
        QCOMPARE(shownColour(dialog), green);
    } else {
        const QImage builtIn = QPixmap(QStringLiteral(":/images/images/clocmain1.jpg")).toImage();
        QCOMPARE(shownPicture(dialog).toImage(), builtIn);
    }
    runDialog(dialog, click);
    QCOMPARE(storedLastPhoto(), photoExpected ? QStringLiteral("photos:found.png") : QString());
}

DORVEX_TEST_MAIN(TestExpirationDialog)

#include "tst_expirationdialog.moc"
