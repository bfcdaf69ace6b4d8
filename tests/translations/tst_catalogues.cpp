#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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
            message.translation = xml.readElementText();
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
    addCatalogues();
}

void TestCatalogues::everySourceTextIsTranslated()
{
    QFETCH(QString, catalogue);
    const QList<Message> messages = readCatalogue(updated.filePath(catalogue));
    QVERIFY(!messages.isEmpty());

    QStringList untranslated;
    for (const Message &message : messages) {
        if (!message.type.isEmpty() || message.translation.isEmpty())
            untranslated << describe(message);
    }
    QVERIFY2(untranslated.isEmpty(),
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

DORVEX_TEST_MAIN(TestCatalogues)

#include "tst_catalogues.moc"
