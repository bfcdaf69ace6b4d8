#include "helpdialog.h"
#include "modalanswerer.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTranslator>

#include <unistd.h>

// The help window: what it shows for the help file and its failures, where
// the view opens, that the text stays untouchable, and large or odd files.
class TestHelpDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void titleFormAndButton();
    void missingFile();
    void unreadableFile();
    void folderInsteadOfFile();
    void linesBecomeParagraphs_data();
    void linesBecomeParagraphs();
    void markupLinesAreRichText();
    void readAfreshAtEveryOpening();
    void longFileOpensAtTop();
    void textCannotBeSelectedOrChanged();
    void closing_data();
    void closing();
    void oddContent_data();
    void oddContent();
    void fiftyMegabytes();
    void translatedTexts();
    void helpFileFollowsTheInterfaceLanguage_data();
    void helpFileFollowsTheInterfaceLanguage();
};

static QString helpPath()
{
    return QDir::currentPath() + QLatin1String("/help.txt");
}

static void writeHelp(const QByteArray &content)
{
    QFile file(helpPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

static QTextEdit *textArea(const QDialog &dialog)
{
    return dialog.findChild<QTextEdit *>(QStringLiteral("helpTextEdit"));
}

static QPushButton *closeButton(const QDialog &dialog)
{
    return dialog.findChild<QPushButton *>(QStringLiteral("closeButton"));
}

static QStringList paragraphs(const QDialog &dialog)
{
    QStringList texts;
    for (QTextBlock block = textArea(dialog)->document()->begin(); block.isValid();
         block = block.next())
        texts << block.text();
    return texts;
}

static void showAndWait(QDialog &dialog)
{
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

void TestHelpDialog::init()
{
    TestEnvironment::instance().reset();
}

void TestHelpDialog::cleanup()
{
    const QFileInfo help(helpPath());
    if (help.isDir())
        QDir(helpPath()).removeRecursively();
    else
        QFile::remove(helpPath());
}

void TestHelpDialog::titleFormAndButton()
{
    writeHelp("Help\n");
    HelpDialog dialog(helpPath());

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dorvex 1.0.2 help"));
    QCOMPARE(dialog.size(), QSize(491, 546));
    QCOMPARE(closeButton(dialog)->text(), QStringLiteral("&Close"));

    QTextEdit *text = textArea(dialog);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->textInteractionFlags(), Qt::NoTextInteraction);
    QVERIFY(!text->document()->isUndoRedoEnabled());
    QCOMPARE(text->viewport()->cursor().shape(), Qt::ArrowCursor);

    // The button sits centred under the text area.
    showAndWait(dialog);
    const QRect button = closeButton(dialog)->geometry();
    QVERIFY(button.top() > text->geometry().bottom());
    QVERIFY(qAbs(button.center().x() - text->geometry().center().x()) <= 2);
}

void TestHelpDialog::missingFile()
{
    HelpDialog dialog(helpPath());
    QCOMPARE(paragraphs(dialog), QStringList { QStringLiteral("File not found: ") + helpPath() });
    QCOMPARE(textArea(dialog)->textCursor().position(), 0);
}

void TestHelpDialog::unreadableFile()
{
    writeHelp("Secret help\n");
    QVERIFY(QFile::setPermissions(helpPath(), QFileDevice::Permissions()));
    if (::access(QFile::encodeName(helpPath()).constData(), R_OK) == 0)
        QSKIP("This user reads files whatever their permissions say (root).");

    HelpDialog dialog(helpPath());
    QCOMPARE(
        paragraphs(dialog), QStringList { QStringLiteral("Error opening file: ") + helpPath() });
}

void TestHelpDialog::folderInsteadOfFile()
{
    QVERIFY(QDir().mkpath(helpPath()));
    HelpDialog dialog(helpPath());
    QCOMPARE(
        paragraphs(dialog), QStringList { QStringLiteral("Error opening file: ") + helpPath() });
}

void TestHelpDialog::linesBecomeParagraphs_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty file") << QByteArray() << QStringList { QString() };
    QTest::newRow("one line") << QByteArray("Set a time.\n") << QStringList { "Set a time." };
    QTest::newRow("empty middle line")
        << QByteArray("First\n\nThird\n") << QStringList { "First", "", "Third" };
    QTest::newRow("no final line end")
        << QByteArray("First\nLast") << QStringList { "First", "Last" };
    QTest::newRow("windows line ends")
        << QByteArray("First\r\n\r\nThird\r\n") << QStringList { "First", "", "Third" };
    QTest::newRow("indentation and tabs kept")
        << QByteArray("  two spaces\n\ttab\n") << QStringList { "  two spaces", "\ttab" };
    QTest::newRow("less-than sign is no markup")
        << QByteArray("1 < 2 and 3 > 2\n") << QStringList { "1 < 2 and 3 > 2" };
    QTest::newRow("utf-8") << QByteArray("Gr\xc3\xbc\xc3\x9f\x65 \xe2\x80\x94 \xe2\x8f\xb0\n")
                           << QStringList { QString::fromUtf8("Grüße — ⏰") };
    QTest::newRow("utf-8 byte-order mark")
        << QByteArray("\xef\xbb\xbfHelp\nMore\n") << QStringList { "Help", "More" };
    const QString wide = QStringLiteral("\ufeffHilfe f\u00fcr Dorvex\r\nZweite Zeile\r\n");
    QTest::newRow("utf-16 with byte-order mark")
        << QByteArray(reinterpret_cast<const char *>(wide.utf16()), wide.size() * 2)
        << QStringList { QString::fromUtf8("Hilfe für Dorvex"), "Zweite Zeile" };
}

void TestHelpDialog::linesBecomeParagraphs()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    writeHelp(content);

    HelpDialog dialog(helpPath());
    QCOMPARE(paragraphs(dialog), expected);
    QVERIFY(!textArea(dialog)->toPlainText().contains(QLatin1Char('\r')));
    QVERIFY(!textArea(dialog)->toPlainText().contains(QLatin1String("File not found")));
}

void TestHelpDialog::markupLinesAreRichText()
{
    writeHelp("Plain <line>\n<b>Bold</b> words\nplain again\n");
    HelpDialog dialog(helpPath());

    // Each line is judged on its own: only the middle one holds a tag.
    QCOMPARE(paragraphs(dialog),
        (QStringList { QStringLiteral("Plain <line>"), QStringLiteral("Bold words"),
            QStringLiteral("plain again") }));
    const QTextBlock bold = textArea(dialog)->document()->findBlockByNumber(1);
    QCOMPARE(bold.begin().fragment().text(), QStringLiteral("Bold"));
    QCOMPARE(bold.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
    const QTextBlock last = textArea(dialog)->document()->lastBlock();
    QVERIFY(last.begin().fragment().charFormat().fontWeight() != int(QFont::Bold));
}

void TestHelpDialog::readAfreshAtEveryOpening()
{
    writeHelp("Old help\n");
    {
        HelpDialog dialog(helpPath());
        QCOMPARE(paragraphs(dialog), QStringList { QStringLiteral("Old help") });
    }
    writeHelp("New help\n");
    HelpDialog dialog(helpPath());
    QCOMPARE(paragraphs(dialog), QStringList { QStringLiteral("New help") });
}

void TestHelpDialog::longFileOpensAtTop()
{
    QByteArray content;
    for (int i = 1; i <= 2000; ++i)
        content += "Line " + QByteArray::number(i) + " of the help\n";
    writeHelp(content);

    HelpDialog dialog(helpPath());
    showAndWait(dialog);
    QTextEdit *text = textArea(dialog);
    QCOMPARE(text->document()->blockCount(), 2000);
    QVERIFY(text->verticalScrollBar()->maximum() > 0);
    QCOMPARE(text->verticalScrollBar()->value(), text->verticalScrollBar()->minimum());
    QCOMPARE(text->textCursor().position(), 0);
    QVERIFY(!text->textCursor().hasSelection());
    QCOMPARE(
        text->cursorForPosition(QPoint(5, 5)).block().text(), QStringLiteral("Line 1 of the help"));
}

void TestHelpDialog::textCannotBeSelectedOrChanged()
{
    writeHelp("Alarms ring once a day.\nThe tray icon brings the window back.\n");
    HelpDialog dialog(helpPath());
    showAndWait(dialog);
    QTextEdit *text = textArea(dialog);
    const QString before = text->toPlainText();
    QWidget *view = text->viewport();

    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("typed"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_Delete);
    QTest::keyClick(text, Qt::Key_Backspace);
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), before);
    QVERIFY(!text->textCursor().hasSelection());

    const QPoint start(4, 6);
    const QPoint end(view->width() - 10, 30);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 10; ++step) {
        QMouseEvent move(QEvent::MouseMove, start + (end - start) * step / 10,
            view->mapToGlobal(start + (end - start) * step / 10), Qt::NoButton, Qt::LeftButton,
            Qt::NoModifier);
        QApplication::sendEvent(view, &move);
    }
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, end);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, start);
    QVERIFY(!text->textCursor().hasSelection());
    QCOMPARE(text->toPlainText(), before);
}

void TestHelpDialog::closing_data()
{
    QTest::addColumn<bool>("useButton");
    QTest::addColumn<int>("result");

    QTest::newRow("Close button") << true << int(QDialog::Accepted);
    QTest::newRow("Escape") << false << int(QDialog::Rejected);
}

void TestHelpDialog::closing()
{
    QFETCH(bool, useButton);
    QFETCH(int, result);
    writeHelp("Help\n");

    HelpDialog dialog(helpPath());
    ModalAnswerer answerer(useButton ? ModalAnswerer::Answer([](QWidget *shown) {
        QTest::mouseClick(closeButton(*qobject_cast<QDialog *>(shown)), Qt::LeftButton);
    })
                                     : ModalAnswerer::pressEscape());
    QCOMPARE(dialog.exec(), result);
    QVERIFY(answerer.answered());
    QCOMPARE(answerer.dialog().data(), &dialog);
}

void TestHelpDialog::oddContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("minimumParagraphs");

    QByteArray garbage(256 * 1024, '\0');
    QRandomGenerator noise(42);
    for (char &byte : garbage)
        byte = char(noise.bounded(256));
    QTest::newRow("binary garbage") << garbage << 1;
    QTest::newRow("invalid utf-8")
        << QByteArray("ok\n\xff\xfe\xc3\x28 broken\n\xe2\x82\nend\n") << 4;
    QTest::newRow("nul bytes") << QByteArray("before\0after\n\0\0\0\n", 17) << 2;
    // The toolkit lays out a word too wide for the view in time that grows
    // with the square of its length; a quarter of a megabyte takes seconds.
    QTest::newRow("one long word") << QByteArray(64 * 1024, 'x') << 1;
    QTest::newRow("one long line of words") << QByteArray("word ").repeated(200000) << 1;
    QTest::newRow("unclosed markup") << QByteArray("<table><tr><td>cell\n<b>bold\n") << 2;
    QTest::newRow("only line ends") << QByteArray(10000, '\n') << 1;
}

void TestHelpDialog::oddContent()
{
    QFETCH(QByteArray, content);
    QFETCH(int, minimumParagraphs);
    writeHelp(content);

    HelpDialog dialog(helpPath());
    showAndWait(dialog);
    QVERIFY(paragraphs(dialog).size() >= minimumParagraphs);
    QVERIFY(!textArea(dialog)->toPlainText().startsWith(QLatin1String("File not found")));
    QVERIFY(!textArea(dialog)->toPlainText().startsWith(QLatin1String("Error opening")));
    QCOMPARE(textArea(dialog)->textCursor().position(), 0);
    QCOMPARE(textArea(dialog)->verticalScrollBar()->value(),
        textArea(dialog)->verticalScrollBar()->minimum());
}

void TestHelpDialog::fiftyMegabytes()
{
    const int lineCount = 700000;
    {
        QFile file(helpPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray line(75, 'h');
        for (int i = 0; i < lineCount; ++i) {
            const QByteArray number = QByteArray::number(i).rightJustified(7, '0');
            line.replace(0, number.size(), number);
            file.write(line + '\n');
        }
    }
    QVERIFY(QFileInfo(helpPath()).size() > 50 * 1000 * 1000);

    QElapsedTimer clock;
    clock.start();
    HelpDialog dialog(helpPath());
    showAndWait(dialog);
    QCoreApplication::processEvents();
    const qint64 elapsed = clock.elapsed();
    qInfo("A help file of %d lines (%lld bytes) loaded and shown in %lld ms", lineCount,
        QFileInfo(helpPath()).size(), elapsed);

    QTextEdit *text = textArea(dialog);
    QCOMPARE(text->document()->blockCount(), lineCount);
    QVERIFY(text->document()->firstBlock().text().startsWith(QLatin1String("0000000hhh")));
    QVERIFY(text->document()->lastBlock().text().startsWith(QLatin1String("0699999hhh")));
    QCOMPARE(text->verticalScrollBar()->value(), text->verticalScrollBar()->minimum());
    QCOMPARE(text->textCursor().position(), 0);
    // Generous: a slow machine must not fail this, a pathological load will.
    QVERIFY2(elapsed < 60000, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
}

void TestHelpDialog::translatedTexts()
{
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(DIALOGS_CATALOGUE)));
    QVERIFY(QCoreApplication::installTranslator(&german));
    const auto uninstall = qScopeGuard([&] { QCoreApplication::removeTranslator(&german); });

    HelpDialog missing(helpPath());
    QCOMPARE(missing.windowTitle(), QStringLiteral("Dorvex-Hilfe (Version 1.0.2)"));
    QCOMPARE(closeButton(missing)->text(), QStringLiteral("&Schließen"));
    QCOMPARE(
        paragraphs(missing), QStringList { QStringLiteral("Datei nicht gefunden: ") + helpPath() });

    QVERIFY(QDir().mkpath(helpPath()));
    HelpDialog unopenable(helpPath());
    QCOMPARE(paragraphs(unopenable),
        QStringList { QStringLiteral("Fehler beim Öffnen der Datei: ") + helpPath() });
}

void TestHelpDialog::helpFileFollowsTheInterfaceLanguage_data()
{
    QTest::addColumn<bool>("german");
    QTest::addColumn<bool>("germanFileThere");
    QTest::addColumn<QString>("expected");

    QTest::newRow("English") << false << true << "help.txt";
    QTest::newRow("German") << true << true << "help_de.txt";
    QTest::newRow("German, its file missing: the English one") << true << false << "help.txt";
}

void TestHelpDialog::helpFileFollowsTheInterfaceLanguage()
{
    QFETCH(bool, german);
    QFETCH(bool, germanFileThere);
    QFETCH(QString, expected);

    writeHelp("English");
    QFile::remove(QStringLiteral("help_de.txt"));
    if (germanFileThere) {
        QFile file(QStringLiteral("help_de.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QTranslator catalogue;
    QVERIFY(catalogue.load(QStringLiteral(DIALOGS_CATALOGUE)));
    if (german)
        QVERIFY(QCoreApplication::installTranslator(&catalogue));
    const auto uninstall = qScopeGuard([&] { QCoreApplication::removeTranslator(&catalogue); });

    QCOMPARE(HelpDialog::helpFileIn(QDir::currentPath()),
        QDir::currentPath() + QLatin1Char('/') + expected);
}

DORVEX_TEST_MAIN(TestHelpDialog)

#include "tst_helpdialog.moc"
