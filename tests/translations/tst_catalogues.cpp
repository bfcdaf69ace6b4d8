#include "alarmtextdialog.h"
#include "expirationdialog.h"
#include "helpdialog.h"
#include "mainwindow.h"
#include "settingsdialog.h"
#include "settingskeys.h"
#include "testenvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTabBar>
#include <QTranslator>
#include <QXmlStreamReader>

// Every catalogue must translate every text the windows show. The sources
// are the reference: lupdate, run exactly as tools/update-translations runs
// it, brings a copy of each catalogue in step, and the copy is inspected.
namespace {

struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type;
};

QList<Message> readCatalogue(const QString &fileName)
{
    QList<Message> messages;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            message = Message { context, {}, {}, {} };
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            // A text with a count has one form of it per plural.
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages << message;
        }
    }
    return messages;
}

QString describe(const Message &message)
{
    return message.context + QLatin1String(": \"") + message.source + QLatin1Char('"');
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    QStringList found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// A single "&" marks the next letter as the mnemonic; "&&" is a literal one.
int mnemonicCount(const QString &text)
{
    int count = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
            ++i;
        else
            ++count;
    }
    return count;
}

// A catalogue made for the tests, with a text left untranslated and a
// translation far too long for its check box.
QString plantedCatalogue()
{
    return QLatin1String(SOURCE_ROOT) + QLatin1String("/tests/translations/planted_de.ts");
}

QStringList untranslatedIn(const QList<Message> &messages)
{
    QStringList untranslated;
    for (const Message &message : messages) {
        if (!message.type.isEmpty() || message.translation.isEmpty())
            untranslated << describe(message);
    }
    return untranslated;
}

// The forms the user meets, laid out as they are shown.
std::vector<std::unique_ptr<QWidget>> openForms()
{
    std::vector<std::unique_ptr<QWidget>> forms;
    // An armed alarm brings the offer to start at log-in into the status bar.
    QSettings().setValue(SettingsKeys::alarmEnabledKey(1), true);
    forms.emplace_back(new MainWindow(true));
    forms.emplace_back(new SettingsDialog(true));
    forms.emplace_back(new HelpDialog(QStringLiteral("help.txt")));
    auto *alarm = new ExpirationDialog(QStringLiteral("Tee"), 1);
    alarm->setSnoozeMinutes(10);
    forms.emplace_back(alarm);
    forms.emplace_back(new AlarmTextDialog(1, QStringLiteral("Tee"), AlarmDays::workDays()));
    for (const auto &form : forms) {
        form->ensurePolished();
        form->layout()->activate();
    }
    return forms;
}

QString plainText(QString text)
{
    static const QRegularExpression mnemonic(QStringLiteral("&(?!&)"));
    return text.remove(mnemonic).replace(QLatin1String("&&"), QLatin1String("&"));
}

// The text's width as drawn at `scale`, in the widget's pixels: at 2x the
// glyphs come from a font twice the size, whose widths do not halve exactly.
int textWidth(const QFont &font, const QString &text, qreal scale)
{
    QFont scaled(font);
    if (font.pixelSize() > 0)
        scaled.setPixelSize(qRound(font.pixelSize() * scale));
    else
        scaled.setPointSizeF(font.pointSizeF() * scale);
    return qCeil(QFontMetricsF(scaled).size(Qt::TextShowMnemonic, text).width() / scale);
}

struct Shown
{
    QWidget *widget;
    QStringList texts;
    int available;
    int neededAtOneX;
};

// Every text a widget shows in a place of a given width, with the width the
// widget asks for at 1x: its margins, indicators and icons around the text.
QList<Shown> shownTexts(QWidget *form)
{
    QList<Shown> shown;
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(form))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            if (!button->text().isEmpty())
                shown << Shown { button, { button->text() }, button->width(),
                    button->sizeHint().width() };
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (!label->text().isEmpty() && !label->wordWrap())
                shown << Shown { label, { label->text() }, label->width(),
                    label->sizeHint().width() };
        } else if (auto *menuBar = qobject_cast<QMenuBar *>(widget)) {
            QStringList titles;
            for (QAction *action : menuBar->actions())
                titles << action->text();
            shown << Shown { menuBar, titles, menuBar->width(), menuBar->sizeHint().width() };
        } else if (auto *tabBar = qobject_cast<QTabBar *>(widget)) {
            QStringList titles;
            for (int tab = 0; tab < tabBar->count(); ++tab)
                titles << tabBar->tabText(tab);
            shown << Shown { tabBar, titles, tabBar->parentWidget()->width(),
                tabBar->sizeHint().width() };
        } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            shown << Shown { group, { group->title() }, group->width(),
                group->minimumSizeHint().width() };
        }
    }
    return shown;
}

// Widgets whose texts need more room at `scale` than they have.
QStringList tooNarrow(QWidget *form, qreal scale)
{
    QStringList faults;
    for (const Shown &item : shownTexts(form)) {
        const QFont font = item.widget->font();
        int needed = item.neededAtOneX;
        for (const QString &text : item.texts)
            needed += textWidth(font, text, scale) - textWidth(font, text, 1);
        if (needed > item.available)
            faults << QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                          .arg(item.widget->objectName().isEmpty()
                                  ? QString::fromLatin1(item.widget->metaObject()->className())
                                  : item.widget->objectName(),
                              item.texts.join(QLatin1String(" | ")))
                          .arg(needed)
                          .arg(item.available);
    }
    return faults;
}

// The labels of the forms' controls, in the order they are found.
QStringList controlLabels()
{
    QStringList labels;
    for (const auto &form : openForms()) {
        for (const Shown &item : shownTexts(form.get())) {
            for (const QString &text : item.texts)
                labels << plainText(text);
        }
        for (QAction *action : form->findChildren<QAction *>())
            labels << plainText(action->text());
    }
    return labels;
}

class InstalledCatalogues
{
public:
    explicit InstalledCatalogues(const QStringList &files)
    {
        for (const QString &file : files) {
            auto *translator = new QTranslator;
            if (!translator->load(file))
                qWarning("cannot load %s", qPrintable(file));
            QCoreApplication::installTranslator(translator);
            translators.emplace_back(translator);
        }
    }
    ~InstalledCatalogues()
    {
        for (const auto &translator : translators)
            QCoreApplication::removeTranslator(translator.get());
    }

private:
    std::vector<std::unique_ptr<QTranslator>> translators;
};

QStringList germanCatalogues()
{
    return { QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QLatin1String("/qtbase_de.qm"),
        QLatin1String(CATALOGUE_FOLDER) + QLatin1String("/dorvex_de.qm") };
}

} // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everySourceTextIsTranslated_data();
    void everySourceTextIsTranslated();
    void catalogueIsInStepWithSources_data();
    void catalogueIsInStepWithSources();
    void translationsKeepPlaceholdersAndMnemonics_data();
    void translationsKeepPlaceholdersAndMnemonics();
    void germanTextsFitTheirWidgets_data();
    void germanTextsFitTheirWidgets();
    void germanHelpNamesTheGermanLabels_data();
    void germanHelpNamesTheGermanLabels();

private:
    void addCatalogues();

    QTemporaryDir updated;
    QStringList catalogues;
};

void TestCatalogues::initTestCase()
{
    const QDir translations(QLatin1String(SOURCE_ROOT) + QLatin1String("/translations"));
    catalogues = translations.entryList({ QStringLiteral("dorvex_*.ts") }, QDir::Files);
    QVERIFY2(
        catalogues.contains(QLatin1String("dorvex_de.ts")), "translations/dorvex_de.ts is missing");

    QProcess update;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUPDATE"), QLatin1String(LUPDATE_PROGRAM));
    update.setProcessEnvironment(environment);
    update.setProcessChannelMode(QProcess::MergedChannels);
    update.start(QStringLiteral("bash"),
        { QLatin1String(SOURCE_ROOT) + QLatin1String("/tools/update-translations"),
            QStringLiteral("--into"), updated.path() });
    QVERIFY(update.waitForFinished(120000));
    const QByteArray output = update.readAll();
    QVERIFY2(
        update.exitStatus() == QProcess::NormalExit && update.exitCode() == 0, output.constData());
}

void TestCatalogues::addCatalogues()
{
    QTest::addColumn<QString>("catalogue");
    for (const QString &catalogue : std::as_const(catalogues))
        QTest::newRow(qPrintable(catalogue)) << catalogue;
}

void TestCatalogues::everySourceTextIsTranslated_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");
    for (const QString &catalogue : std::as_const(catalogues))
        QTest::newRow(qPrintable(catalogue)) << updated.filePath(catalogue) << QStringList();
    QTest::newRow("a catalogue made with a text left untranslated")
        << plantedCatalogue() << QStringList { QStringLiteral("MainWindow: \"Enable\"") };
}

void TestCatalogues::everySourceTextIsTranslated()
{
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    const QList<Message> messages = readCatalogue(file);
    QVERIFY(!messages.isEmpty());

    const QStringList untranslated = untranslatedIn(messages);
    QVERIFY2(untranslated == expected,
        qPrintable(QLatin1String("no translation (run tools/update-translations and "
                                 "translate them):\n")
            + untranslated.join(QLatin1Char('\n'))));
}

void TestCatalogues::catalogueIsInStepWithSources_data()
{
    addCatalogues();
}

void TestCatalogues::catalogueIsInStepWithSources()
{
    QFETCH(QString, catalogue);
    QFile committed(QLatin1String(SOURCE_ROOT) + QLatin1String("/translations/") + catalogue);
    QFile inStep(updated.filePath(catalogue));
    QVERIFY(committed.open(QIODevice::ReadOnly));
    QVERIFY(inStep.open(QIODevice::ReadOnly));
    QVERIFY2(committed.readAll() == inStep.readAll(),
        "the catalogue differs from what lupdate makes of the sources: "
        "run tools/update-translations and commit the result");
}

void TestCatalogues::translationsKeepPlaceholdersAndMnemonics_data()
{
    addCatalogues();
}

void TestCatalogues::translationsKeepPlaceholdersAndMnemonics()
{
    QFETCH(QString, catalogue);
    const QList<Message> messages
        = readCatalogue(QLatin1String(SOURCE_ROOT) + QLatin1String("/translations/") + catalogue);
    QVERIFY(!messages.isEmpty());

    QStringList faults;
    for (const Message &message : messages) {
        if (message.translation.isEmpty())
            continue;
        if (placeholders(message.source) != placeholders(message.translation))
            faults << describe(message) + QLatin1String(" changes its placeholders");
        if (mnemonicCount(message.source) != mnemonicCount(message.translation))
            faults << describe(message) + QLatin1String(" gains or loses its mnemonic");
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestCatalogues::germanTextsFitTheirWidgets_data()
{
    QTest::addColumn<QStringList>("catalogueFiles");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QStringList>("expectedTooNarrow");

    QTest::newRow("German at 1x") << germanCatalogues() << 1.0 << QStringList();
    QTest::newRow("German at 2x") << germanCatalogues() << 2.0 << QStringList();
    QTest::newRow("a catalogue made with a text too long for its check box")
        << (germanCatalogues() << QLatin1String(PLANTED_CATALOGUE)) << 1.0
        << QStringList { QStringLiteral("alarm1LockCheckBox"), QStringLiteral("alarm2LockCheckBox"),
               QStringLiteral("alarm3LockCheckBox") };
}

// Measured with the font metrics of the forms as they are shown, at 1x and
// as the glyphs come out at 2x: every text must leave the widget's margins.
void TestCatalogues::germanTextsFitTheirWidgets()
{
    QFETCH(QStringList, catalogueFiles);
    QFETCH(qreal, scale);
    QFETCH(QStringList, expectedTooNarrow);

    const InstalledCatalogues installed(catalogueFiles);
    QStringList faults;
    for (const auto &form : openForms())
        faults << tooNarrow(form.get(), scale);
    QStringList names;
    for (const QString &fault : std::as_const(faults))
        names << fault.section(QLatin1Char(' '), 0, 0);
    QVERIFY2(names == expectedTooNarrow, qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestCatalogues::germanHelpNamesTheGermanLabels_data()
{
    QTest::addColumn<QString>("helpText");
    QTest::addColumn<QStringList>("expectedEnglish");

    QFile german(QLatin1String(SOURCE_ROOT) + QLatin1String("/src/resources/help_de.txt"));
    QVERIFY(german.open(QIODevice::ReadOnly));
    QTest::newRow("help_de.txt") << QString::fromUtf8(german.readAll()) << QStringList();
    QTest::newRow("a help text made with English labels")
        << QStringLiteral("Haken Sie \"Enable\" an oder „Lock“, unter File > Settings: "
                          "der Text des Alarms bleibt.")
        << QStringList { QStringLiteral("Enable"), QStringLiteral("File"), QStringLiteral("Lock"),
               QStringLiteral("Settings") };
}

// A label the German window shows in German must not be named in English.
void TestCatalogues::germanHelpNamesTheGermanLabels()
{
    QFETCH(QString, helpText);
    QFETCH(QStringList, expectedEnglish);

    const QStringList english = controlLabels();
    QStringList german;
    {
        const InstalledCatalogues installed(germanCatalogues());
        german = controlLabels();
    }
    QCOMPARE(german.size(), english.size());
    QStringList named;
    for (int i = 0; i < english.size(); ++i) {
        if (english[i] == german[i] || named.contains(english[i]))
            continue;
        // Named in quotes, or in a menu path: "Enable", File > Settings.
        const QString label = QRegularExpression::escape(english[i]);
        const QRegularExpression naming(
            QStringLiteral("[„“\"]%1[“”\"]|\\b%1 >|> %1\\b").arg(label));
        if (naming.match(helpText).hasMatch())
            named << english[i];
    }
    named.sort();
    expectedEnglish.sort();
    QVERIFY2(named == expectedEnglish,
        qPrintable(QLatin1String("English labels in the German help: ") + named.join(", ")));
}

DORVEX_TEST_MAIN(TestCatalogues)

#include "tst_catalogues.moc"
