#include "autostartentry.h"
#include "modalanswerer.h"
#include "settingsdialog.h"
#include "settingskeys.h"
#include "testenvironment.h"
#include "wakescheduler.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTranslator>

#include <memory>

// The settings window: which switch edits which key, the language list
// built from the catalogues found, what OK, Cancel and the reset leave in
// the store, and how the window is laid out.
class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void formTextsAndSize();
    void windowModalToItsParent();
    void emptyStoreShowsDefaults();
    void eachBoxEditsItsKey_data();
    void eachBoxEditsItsKey();
    void okWritesEveryOption();
    void rejectingWritesNothing_data();
    void rejectingWritesNothing();
    void snoozeLength_data();
    void snoozeLength();

    void languageListFromCatalogues();
    void choosingLanguageStoresItsCode_data();
    void choosingLanguageStoresItsCode();
    void storedLanguageSelectsEntry_data();
    void storedLanguageSelectsEntry();
    void catalogueNames_data();
    void catalogueNames();
    void sameCatalogueInTwoFolders();

    void resetButtonPlacement_data();
    void resetButtonPlacement();
    void resetAnsweredNo_data();
    void resetAnsweredNo();
    void resetAnsweredYesEmptiesStore();
    void enterNeverResets();
    void trayBoxesWithoutTray();
    void wakeBoxWithoutTheCapability();
    void startAtLoginSwitchesTheEntry_data();
    void startAtLoginSwitchesTheEntry();
    void translatedTexts();
};

static QString translationsFolder()
{
    return QDir::currentPath() + QLatin1String("/translations");
}

static void addCatalogue(const QString &name, const QString &folder = translationsFolder())
{
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

static void store(const QString &key, const QVariant &value)
{
    QSettings settings;
    settings.setValue(key, value);
}

static QVariant stored(const QString &key)
{
    const QSettings settings;
    return settings.value(key);
}

// Everything the store holds, to tell whether anything was written.
static QVariantMap storeContents()
{
    const QSettings settings;
    QVariantMap contents;
    for (const QString &key : settings.allKeys())
        contents.insert(key, settings.value(key));
    return contents;
}

static QCheckBox *box(const QWidget *dialog, const QString &name)
{
    auto *found = dialog->findChild<QCheckBox *>(name);
    if (!found)
        qWarning("no check box %s", qPrintable(name));
    return found;
}

static QComboBox *languages(const QWidget *dialog)
{
    return dialog->findChild<QComboBox *>(QStringLiteral("languagesComboBox"));
}

static QPushButton *resetButton(const QWidget *dialog)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("resetSettingsButton"));
}

static QDialogButtonBox *buttonBox(const QWidget *dialog)
{
    return dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
}

static QPushButton *standardButton(const QWidget *dialog, QDialogButtonBox::StandardButton which)
{
    return buttonBox(dialog)->button(which);
}

static QStringList entryData(const QWidget *dialog)
{
    QStringList data;
    for (int i = 0; i < languages(dialog)->count(); ++i)
        data << languages(dialog)->itemData(i, Qt::UserRole).toString();
    return data;
}

static QStringList entryTexts(const QWidget *dialog)
{
    QStringList texts;
    for (int i = 0; i < languages(dialog)->count(); ++i)
        texts << languages(dialog)->itemText(i);
    return texts;
}

struct Option
{
    const char *box;
    const char *key;
    bool defaultValue;
};

// What the user ticks and where the store keeps it.
static const Option options[] = {
    { "beepOnAlarmCheckBox", "beepOnAlarmCheckBox/enabled", false },
    { "scaleClockImageCheckBox", "scaleClockImageCheckBox/enabled", false },
    { "minimizeToTrayCheckBox", "minimizeToTrayCheckBox/enabled", false },
    { "closeToTrayCheckBox", "closeToTrayCheckBox/enabled", false },
    { "startToTrayCheckBox", "startOnTrayCheckBox/enabled", false },
    { "confirmExitCheckBox", "confirmExitCheckBox/enabled", true },
    { "showTestAlarmCheckBox", "showTestAlarmCheckBox/enabled", false },
};

// Runs the dialog as the main window does, with `answer` acting as the user.
static int runDialog(SettingsDialog &dialog, const ModalAnswerer::Answer &answer)
{
    ModalAnswerer answerer(answer);
    const int result = dialog.exec();
    if (!answerer.answered())
        qWarning("nobody answered the dialog");
    return result;
}

static const ModalAnswerer::Answer pressOk = [](QWidget *dialog) {
    standardButton(dialog, QDialogButtonBox::Ok)->click();
};

void TestSettingsDialog::init()
{
    TestEnvironment::instance().reset();
    QDir::setSearchPaths(QStringLiteral("translations"), { translationsFolder() });
}

void TestSettingsDialog::formTextsAndSize()
{
    SettingsDialog dialog(true);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
    QCOMPARE(dialog.size(), QSize(358, 264));
    QCOMPARE(dialog.windowModality(), Qt::WindowModal);
    QCOMPARE(dialog.windowIcon().pixmap(16).toImage(),
        QIcon(QStringLiteral(":/icons/images/dorvex_mini.png")).pixmap(16).toImage());

    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("&Alarms"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("User &interface"));
    QCOMPARE(tabs->widget(0)->objectName(), QStringLiteral("tab_alarms"));

    const QList<QPair<QString, QPair<QString, QString>>> boxes {
        { "scaleClockImageCheckBox",
            { "&Scale clock image",
                "Scale the picture to the largest size at which it shows whole (never "
                "distorted)" } },
        { "beepOnAlarmCheckBox",
            { "Make a \"&beep\" sound on alarm",
                "Play the default \"beep\" sound when alarm fires" } },
        { "showTestAlarmCheckBox",
            { "Show \"&test alarm\" buttons",
                "Show a button that allows testing an alarm (to see how it'll be shown)" } },
        { "minimizeToTrayCheckBox",
            { "&Minimize to tray",
                "Send window to tray when clicking on window's minimize button" } },
        { "closeToTrayCheckBox",
            { "&Close to tray", "Send window to tray when clicking on window's close button" } },
        { "startToTrayCheckBox",
            { "&Start to tray", "Put application on tray when it is started" } },
        { "confirmExitCheckBox",
            { "Confirm e&xit", "Ask for confirmation when quitting application" } },
    };
    for (const auto &[name, texts] : boxes) {
        QCheckBox *check = box(&dialog, name);
        QVERIFY(check);
        QCOMPARE(check->text(), texts.first);
        QCOMPARE(check->toolTip(), texts.second);
        // The first three boxes sit on the first tab, the others on the second.
        const int tab = name == QLatin1String("scaleClockImageCheckBox")
                || name == QLatin1String("beepOnAlarmCheckBox")
                || name == QLatin1String("showTestAlarmCheckBox")
            ? 0
            : 1;
        QVERIFY(tabs->widget(tab)->isAncestorOf(check));
    }

    auto *group = dialog.findChild<QGroupBox *>(QStringLiteral("groupBoxLanguage"));
    QCOMPARE(group->title(), QStringLiteral("Language (requires program restart)"));
    QVERIFY(group->isAncestorOf(languages(&dialog)));
    QVERIFY(tabs->widget(1)->isAncestorOf(group));

    QCOMPARE(resetButton(&dialog)->text(), QStringLiteral("&Reset"));
    QCOMPARE(resetButton(&dialog)->toolTip(), QStringLiteral("Set settings to default values"));
    QVERIFY(!resetButton(&dialog)->autoDefault());
    QCOMPARE(
        buttonBox(&dialog)->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    // A taller dialog gives the extra height to the tab pages, not the list.
    const int listHeight = languages(&dialog)->sizeHint().height();
    tabs->setCurrentIndex(1);
    dialog.resize(600, 500);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(languages(&dialog)->height(), listHeight);
    QVERIFY(languages(&dialog)->width() > 400);
}

void TestSettingsDialog::windowModalToItsParent()
{
    QWidget parent;
    SettingsDialog dialog(false, &parent);
    QCOMPARE(dialog.parentWidget(), &parent);
    QVERIFY(dialog.isWindow());
    QCOMPARE(dialog.windowModality(), Qt::WindowModal);
}

void TestSettingsDialog::emptyStoreShowsDefaults()
{
    SettingsDialog dialog(false);
    for (const Option &option : options)
        QVERIFY2(box(&dialog, QLatin1String(option.box))->isChecked() == option.defaultValue,
            option.box);
    QVERIFY(box(&dialog, QStringLiteral("confirmExitCheckBox"))->isChecked());
    QCOMPARE(languages(&dialog)->currentIndex(), 0);
    QVERIFY(storeContents().isEmpty());
}

void TestSettingsDialog::eachBoxEditsItsKey_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(options)); ++row)
        QTest::newRow(options[row].box) << row;
}

void TestSettingsDialog::eachBoxEditsItsKey()
{
    QFETCH(int, row);
    const Option &option = options[row];
    store(QLatin1String(option.key), !option.defaultValue);

    SettingsDialog dialog(false);
    for (const Option &other : options) {
        const bool expected = &other == &option ? !other.defaultValue : other.defaultValue;
        QVERIFY2(box(&dialog, QLatin1String(other.box))->isChecked() == expected, other.box);
    }

    // Untick (or tick) it back; OK writes the box's state under its key.
    box(&dialog, QLatin1String(option.box))->setChecked(option.defaultValue);
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));
    QCOMPARE(stored(QLatin1String(option.key)).toBool(), option.defaultValue);

    QStringList expectedKeys { QStringLiteral("language"),
        QLatin1String(SettingsKeys::snoozeMinutesKey) };
    for (const Option &other : options)
        expectedKeys << QLatin1String(other.key);
    expectedKeys.sort();
    QCOMPARE(storeContents().keys(), expectedKeys);
}

void TestSettingsDialog::okWritesEveryOption()
{
    SettingsDialog dialog(false);
    for (const Option &option : options)
        box(&dialog, QLatin1String(option.box))->setChecked(true);
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));

    for (const Option &option : options)
        QVERIFY2(stored(QLatin1String(option.key)).toBool(), option.key);
    QCOMPARE(stored(QStringLiteral("language")).toString(), QStringLiteral("default"));
    QVERIFY(!stored(QStringLiteral("startToTrayCheckBox/enabled")).isValid());

    SettingsDialog again(false);
    for (const Option &option : options)
        QVERIFY2(box(&again, QLatin1String(option.box))->isChecked(), option.box);
}

void TestSettingsDialog::rejectingWritesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("filledStore");

    for (const char *how : { "Cancel", "Escape", "close" }) {
        QTest::newRow(qPrintable(QStringLiteral("%1, empty store").arg(QLatin1String(how))))
            << QString::fromLatin1(how) << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, filled store").arg(QLatin1String(how))))
            << QString::fromLatin1(how) << true;
    }
}

void TestSettingsDialog::rejectingWritesNothing()
{
    QFETCH(QString, how);
    QFETCH(bool, filledStore);
    addCatalogue(QStringLiteral("dorvex_de.qm"));
    if (filledStore) {
        for (const Option &option : options)
            store(QLatin1String(option.key), !option.defaultValue);
        store(QStringLiteral("language"), QStringLiteral("en"));
    }
    const QVariantMap before = storeContents();

    SettingsDialog dialog(true);
    for (const Option &option : options) {
        QCheckBox *check = box(&dialog, QLatin1String(option.box));
        check->setChecked(!check->isChecked());
    }
    languages(&dialog)->setCurrentIndex(2);

    const int result = runDialog(dialog, [how](QWidget *shown) {
        if (how == QLatin1String("Cancel"))
            standardButton(shown, QDialogButtonBox::Cancel)->click();
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(shown, Qt::Key_Escape);
        else
            shown->close();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(storeContents(), before);

    SettingsDialog again(false);
    for (const Option &option : options) {
        const bool expected = filledStore ? !option.defaultValue : option.defaultValue;
        QVERIFY2(box(&again, QLatin1String(option.box))->isChecked() == expected, option.box);
    }
    QCOMPARE(languages(&again)->currentIndex(), filledStore ? 1 : 0);
}

void TestSettingsDialog::snoozeLength_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("nothing stored") << QVariant() << 10;
    QTest::newRow("shortest") << QVariant(1) << 1;
    QTest::newRow("longest") << QVariant(60) << 60;
    for (const QVariant &unusable : { QVariant(0), QVariant(-5), QVariant(61), QVariant(1e9),
             QVariant(QStringLiteral("text")), QVariant(7.5) })
        QTest::newRow(qPrintable(unusable.toString())) << unusable << 10;
}

void TestSettingsDialog::snoozeLength()
{
    QFETCH(QVariant, stored);
    QFETCH(int, shown);
    if (stored.isValid())
        store(QLatin1String(SettingsKeys::snoozeMinutesKey), stored);
    SettingsDialog dialog(false);
    auto *minutes = dialog.findChild<QSpinBox *>(QStringLiteral("snoozeMinutesSpinBox"));
    QCOMPARE(minutes->value(), shown);

    minutes->setValue(shown % 60 + 1);
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));
    QCOMPARE(SettingsKeys::readSnoozeMinutes(QSettings()), shown % 60 + 1);
}

void TestSettingsDialog::languageListFromCatalogues()
{
    addCatalogue(QStringLiteral("dorvex_de.qm"));
    addCatalogue(QStringLiteral("dorvex_pt_BR.qm"));

    SettingsDialog dialog(false);
    QCOMPARE(entryTexts(&dialog),
        (QStringList { QStringLiteral("default (system locale)"), QStringLiteral("English"),
            QStringLiteral("German (Germany)"), QStringLiteral("Portuguese (Brazil)") }));
    QCOMPARE(entryData(&dialog),
        (QStringList { QStringLiteral("default"), QStringLiteral("en"), QStringLiteral("de"),
            QStringLiteral("pt_BR") }));
    for (int i = 0; i < languages(&dialog)->count(); ++i)
        QVERIFY(languages(&dialog)->itemIcon(i).isNull());
}

void TestSettingsDialog::choosingLanguageStoresItsCode_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("code");

    QTest::newRow("system locale") << 0 << "default";
    QTest::newRow("English") << 1 << "en";
    QTest::newRow("German") << 2 << "de";
    QTest::newRow("Brazilian Portuguese") << 3 << "pt_BR";
}

void TestSettingsDialog::choosingLanguageStoresItsCode()
{
    QFETCH(int, index);
    QFETCH(QString, code);
    addCatalogue(QStringLiteral("dorvex_de.qm"));
    addCatalogue(QStringLiteral("dorvex_pt_BR.qm"));
    store(QStringLiteral("language"), QStringLiteral("en"));

    SettingsDialog dialog(false);
    languages(&dialog)->setCurrentIndex(index);
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));
    QCOMPARE(stored(QStringLiteral("language")).toString(), code);

    SettingsDialog again(false);
    QCOMPARE(languages(&again)->currentIndex(), index);
}

void TestSettingsDialog::storedLanguageSelectsEntry_data()
{
    QTest::addColumn<QVariant>("language");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("storedAfterOk");

    QTest::newRow("absent") << QVariant() << 0 << "default";
    QTest::newRow("default") << QVariant(QStringLiteral("default")) << 0 << "default";
    QTest::newRow("en") << QVariant(QStringLiteral("en")) << 1 << "en";
    QTest::newRow("de") << QVariant(QStringLiteral("de")) << 2 << "de";
    QTest::newRow("pt_BR") << QVariant(QStringLiteral("pt_BR")) << 3 << "pt_BR";
    QTest::newRow("no catalogue for fr") << QVariant(QStringLiteral("fr")) << 0 << "default";
    QTest::newRow("other case DE") << QVariant(QStringLiteral("DE")) << 0 << "default";
    QTest::newRow("empty text") << QVariant(QString()) << 0 << "default";
}

void TestSettingsDialog::storedLanguageSelectsEntry()
{
    QFETCH(QVariant, language);
    QFETCH(int, selected);
    QFETCH(QString, storedAfterOk);
    addCatalogue(QStringLiteral("dorvex_de.qm"));
    addCatalogue(QStringLiteral("dorvex_pt_BR.qm"));
    if (language.isValid())
        store(QStringLiteral("language"), language);

    SettingsDialog dialog(false);
    QCOMPARE(languages(&dialog)->count(), 4);
    QCOMPARE(languages(&dialog)->currentIndex(), selected);
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));
    QCOMPARE(stored(QStringLiteral("language")).toString(), storedAfterOk);
}

void TestSettingsDialog::catalogueNames_data()
{
    // Each thing to create: a file name, or "dir:", "link:" (to a file that
    // exists) or "dangling:" before a name for a folder or a symbolic link.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("no translations folder") << QStringList() << QStringList();
    QTest::newRow("empty translations folder") << QStringList { "dir:." } << QStringList();
    QTest::newRow("no code") << QStringList { "dorvex_.qm" } << QStringList { "" };
    QTest::newRow("unknown code") << QStringList { "dorvex_zz_ZZ.qm" } << QStringList { "zz_ZZ" };
    QTest::newRow("upper-case name") << QStringList { "DORVEX_DE.QM" } << QStringList { "DE" };
    QTest::newRow("folder with a catalogue's name")
        << QStringList { "dir:dorvex_fr.qm" } << QStringList();
    QTest::newRow("other names") << QStringList { "dorvex_de.qm.bak", "xdorvex_de.qm",
        "dorvex_de.ts", "dorvex-de.qm", "dorvex.qm", "readme.txt" }
                                 << QStringList();
    QTest::newRow("order by name ignoring case") << QStringList { "dorvex_pt_BR.qm", "dorvex_de.qm",
        "Dorvex_fr.qm" } << QStringList { "de", "fr", "pt_BR" };
    QTest::newRow("link to a catalogue")
        << QStringList { "link:dorvex_it.qm" } << QStringList { "it" };
    QTest::newRow("dangling link") << QStringList { "dangling:dorvex_nl.qm" } << QStringList();
    QTest::newRow("second English") << QStringList { "dorvex_en.qm" } << QStringList { "en" };
    QTest::newRow("code with spaces and dots")
        << QStringList { "dorvex_a b.c.qm" } << QStringList { "a b.c" };
}

void TestSettingsDialog::catalogueNames()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, codes);
    const QString folder = translationsFolder();
    for (const QString &entry : entries) {
        if (entry.startsWith(QLatin1String("dir:"))) {
            QVERIFY(QDir().mkpath(folder + QLatin1Char('/') + entry.mid(4)));
        } else if (entry.startsWith(QLatin1String("link:"))) {
            addCatalogue(QStringLiteral("target.bin"));
            QVERIFY(QFile::link(
                folder + QLatin1String("/target.bin"), folder + QLatin1Char('/') + entry.mid(5)));
        } else if (entry.startsWith(QLatin1String("dangling:"))) {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::link(
                folder + QLatin1String("/gone.qm"), folder + QLatin1Char('/') + entry.mid(9)));
        } else {
            addCatalogue(entry);
        }
    }

    SettingsDialog dialog(false);
    QCOMPARE(entryData(&dialog), QStringList({ "default", "en" }) + codes);
    for (int i = 0; i < codes.size(); ++i) {
        // Whatever the toolkit makes of the code, shown as "language (country)".
        const QLocale locale(codes.at(i));
        QCOMPARE(languages(&dialog)->itemText(i + 2),
            QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                QLocale::territoryToString(locale.territory())));
    }
    QCOMPARE(languages(&dialog)->currentIndex(), 0);

    // The last entry can be chosen and stored like any other.
    languages(&dialog)->setCurrentIndex(languages(&dialog)->count() - 1);
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));
    QCOMPARE(stored(QStringLiteral("language")).toString(),
        codes.isEmpty() ? QStringLiteral("en") : codes.last());
}

void TestSettingsDialog::sameCatalogueInTwoFolders()
{
    const QString second = QDir::currentPath() + QLatin1String("/translations/more");
    addCatalogue(QStringLiteral("dorvex_de.qm"));
    addCatalogue(QStringLiteral("dorvex_de.qm"), second);
    addCatalogue(QStringLiteral("dorvex_pt_BR.qm"), second);
    QDir::setSearchPaths(QStringLiteral("translations"),
        { translationsFolder(), QDir::currentPath() + QLatin1String("/missing"), second });
    store(QStringLiteral("language"), QStringLiteral("de"));

    SettingsDialog dialog(false);
    QCOMPARE(entryData(&dialog), (QStringList { "default", "en", "de", "de", "pt_BR" }));
    // The last entry with the stored code is the one selected.
    QCOMPARE(languages(&dialog)->currentIndex(), 3);
}

void TestSettingsDialog::resetButtonPlacement_data()
{
    QTest::addColumn<bool>("debug");
    QTest::newRow("without debug switch") << false;
    QTest::newRow("with debug switch") << true;
}

void TestSettingsDialog::resetButtonPlacement()
{
    QFETCH(bool, debug);
    SettingsDialog dialog(debug);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QPushButton *reset = resetButton(&dialog);
    QDialogButtonBox *buttons = buttonBox(&dialog);
    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QCOMPARE(reset->isVisible(), debug);
    // OK and Cancel stay at the right end of the bottom row either way.
    QCOMPARE(buttons->geometry().right(), tabs->geometry().right());
    QVERIFY(buttons->geometry().top() > tabs->geometry().bottom());
    if (debug) {
        QCOMPARE(reset->geometry().left(), tabs->geometry().left());
        QVERIFY(reset->geometry().right() < buttons->geometry().left());
        QVERIFY(reset->geometry().top() > tabs->geometry().bottom());
        QVERIFY(qAbs(reset->geometry().center().y() - buttons->geometry().center().y()) <= 3);
    }
}

void TestSettingsDialog::resetAnsweredNo_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("No") << false;
    QTest::newRow("Escape") << true;
}

void TestSettingsDialog::resetAnsweredNo()
{
    QFETCH(bool, escape);
    store(QStringLiteral("beepOnAlarmCheckBox/enabled"), true);
    store(QStringLiteral("alarm1/text"), QStringLiteral("Tea"));
    store(QStringLiteral("last_shown_photo"), QStringLiteral("photos:cat.png"));
    const QVariantMap before = storeContents();

    SettingsDialog dialog(true);
    box(&dialog, QStringLiteral("scaleClockImageCheckBox"))->setChecked(true);
    QString title;
    QString text;
    QWidget *questionParent = nullptr;
    bool noIsDefault = false;
    bool stillOpen = false;
    bool askedOnce = false;
    std::unique_ptr<ModalAnswerer> anythingMore;
    const int result = runDialog(dialog, [&](QWidget *shown) {
        ModalAnswerer question([&](QWidget *asked) {
            anythingMore = std::make_unique<ModalAnswerer>(
                ModalAnswerer::pressButton(QMessageBox::Ok), 1000);
            auto *messageBox = qobject_cast<QMessageBox *>(asked);
            title = messageBox->windowTitle();
            noIsDefault = messageBox->defaultButton() == messageBox->button(QMessageBox::No);
            if (escape)
                QTest::keyClick(messageBox, Qt::Key_Escape);
            else
                messageBox->button(QMessageBox::No)->click();
        });
        resetButton(shown)->click();
        askedOnce = question.answered();
        text = question.dialogText();
        questionParent = question.dialogParent();
        stillOpen = shown->isVisible();
        standardButton(shown, QDialogButtonBox::Cancel)->click();
    });

    QVERIFY(askedOnce);
    QVERIFY(!anythingMore->answered());
    QCOMPARE(title, QStringLiteral("Question"));
    QCOMPARE(text, QStringLiteral("Really reset settings?"));
    QCOMPARE(questionParent, &dialog);
    QVERIFY(noIsDefault);
    QVERIFY(stillOpen);
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(storeContents(), before);
}

void TestSettingsDialog::resetAnsweredYesEmptiesStore()
{
    for (const Option &option : options)
        store(QLatin1String(option.key), !option.defaultValue);
    store(QStringLiteral("language"), QStringLiteral("en"));
    store(QStringLiteral("disableAllCheckBox/enabled"), true);
    store(QStringLiteral("alarm2/time"), QStringLiteral("07:30:00"));
    store(QStringLiteral("alarm2/enabled"), true);
    store(QStringLiteral("alarm2/text"), QStringLiteral("Wake up"));
    store(QStringLiteral("last_shown_photo"), QStringLiteral("photos:cat.png"));

    SettingsDialog dialog(true);
    box(&dialog, QStringLiteral("beepOnAlarmCheckBox"))->setChecked(true);
    std::unique_ptr<ModalAnswerer> information;
    QString informationTitle;
    QString informationText;
    const int result = runDialog(dialog, [&](QWidget *shown) {
        ModalAnswerer question([&](QWidget *asked) {
            information = std::make_unique<ModalAnswerer>([&](QWidget *told) {
                informationTitle = told->windowTitle();
                ModalAnswerer::pressButton(QMessageBox::Ok)(told);
            });
            ModalAnswerer::pressButton(QMessageBox::Yes)(asked);
        });
        resetButton(shown)->click();
    });

    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(information && information->answered());
    QCOMPARE(informationTitle, QStringLiteral("Message"));
    QCOMPARE(information->dialogText(), QStringLiteral("Settings set to defaults!"));
    QCOMPARE(information->dialogParent(), &dialog);
    // Nothing of what the dialog showed was written back.
    QCOMPARE(storeContents(), QVariantMap());

    SettingsDialog again(false);
    for (const Option &option : options)
        QVERIFY2(
            box(&again, QLatin1String(option.box))->isChecked() == option.defaultValue, option.box);
}

void TestSettingsDialog::enterNeverResets()
{
    store(QStringLiteral("alarm1/text"), QStringLiteral("Tea"));
    SettingsDialog dialog(true);
    box(&dialog, QStringLiteral("showTestAlarmCheckBox"))->setChecked(true);
    std::unique_ptr<ModalAnswerer> question;
    bool okIsDefault = false;
    const int result = runDialog(dialog, [&](QWidget *shown) {
        question = std::make_unique<ModalAnswerer>(ModalAnswerer::pressButton(QMessageBox::No));
        resetButton(shown)->setFocus();
        okIsDefault = standardButton(shown, QDialogButtonBox::Ok)->isDefault();
        QTest::keyClick(resetButton(shown), Qt::Key_Return);
        if (shown->isVisible())
            standardButton(shown, QDialogButtonBox::Cancel)->click();
    });

    QVERIFY(!question->answered());
    QVERIFY(okIsDefault);
    // Enter pressed OK: the box's state was written, nothing was cleared.
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(stored(QStringLiteral("showTestAlarmCheckBox/enabled")).toBool(), true);
    QCOMPARE(stored(QStringLiteral("alarm1/text")).toString(), QStringLiteral("Tea"));
}

void TestSettingsDialog::startAtLoginSwitchesTheEntry_data()
{
    QTest::addColumn<bool>("onBefore");
    QTest::addColumn<bool>("folderBlocked");
    QTest::newRow("switched on") << false << false;
    QTest::newRow("switched off") << true << false;
    QTest::newRow("folder cannot be made") << false << true;
}

void TestSettingsDialog::startAtLoginSwitchesTheEntry()
{
    QFETCH(bool, onBefore);
    QFETCH(bool, folderBlocked);
    const QString folder = AutostartEntry::defaultFolder();
    QDir(folder).removeRecursively();
    QVERIFY(AutostartEntry().setEnabled(onBefore));
    const auto unblock = qScopeGuard([&] { QFile::remove(folder); });
    if (folderBlocked)
        QVERIFY(QFile(folder).open(QIODevice::WriteOnly));

    SettingsDialog dialog(false);
    QCheckBox *startAtLogin = box(&dialog, QStringLiteral("startAtLoginCheckBox"));
    QCOMPARE(startAtLogin->text(), QStringLiteral("Start Dorvex when I &log in"));
    QCOMPARE(startAtLogin->isChecked(), onBefore);
    {
        ModalAnswerer warning(ModalAnswerer::pressButton(QMessageBox::Ok));
        startAtLogin->click();
        QCOMPARE(warning.answered(), folderBlocked);
    }
    // Applied at once, even if the dialog is cancelled, and not through the store.
    const bool onAfter = folderBlocked ? onBefore : !onBefore;
    QCOMPARE(startAtLogin->isChecked(), onAfter);
    runDialog(
        dialog, [](QWidget *shown) { standardButton(shown, QDialogButtonBox::Cancel)->click(); });
    QCOMPARE(AutostartEntry().isEnabled(), onAfter);
    QVERIFY(storeContents().isEmpty());
}

void TestSettingsDialog::trayBoxesWithoutTray()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("This desktop has a system tray.");
    store(QStringLiteral("minimizeToTrayCheckBox/enabled"), true);
    store(QStringLiteral("startOnTrayCheckBox/enabled"), true);

    SettingsDialog dialog(false);
    for (const char *name :
        { "minimizeToTrayCheckBox", "closeToTrayCheckBox", "startToTrayCheckBox" })
        QVERIFY2(!box(&dialog, QLatin1String(name))->isEnabled(), name);
    for (const char *name : { "beepOnAlarmCheckBox", "scaleClockImageCheckBox",
             "confirmExitCheckBox", "showTestAlarmCheckBox" })
        QVERIFY2(box(&dialog, QLatin1String(name))->isEnabled(), name);
    QVERIFY(languages(&dialog)->isEnabled());

    // Greyed out, they still show and keep what the store holds.
    QVERIFY(box(&dialog, QStringLiteral("minimizeToTrayCheckBox"))->isChecked());
    QVERIFY(box(&dialog, QStringLiteral("startToTrayCheckBox"))->isChecked());
    QVERIFY(!box(&dialog, QStringLiteral("closeToTrayCheckBox"))->isChecked());
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));
    QCOMPARE(stored(QStringLiteral("minimizeToTrayCheckBox/enabled")).toBool(), true);
    QCOMPARE(stored(QStringLiteral("startOnTrayCheckBox/enabled")).toBool(), true);
    QCOMPARE(stored(QStringLiteral("closeToTrayCheckBox/enabled")).toBool(), false);
}

// The helper beside the test was built without its capability.
void TestSettingsDialog::wakeBoxWithoutTheCapability()
{
    const QString key = QLatin1String(SettingsKeys::wakeComputer.key);
    store(key, true);
    SettingsDialog dialog(false);
    QCheckBox *wake = box(&dialog, QStringLiteral("wakeComputerCheckBox"));
    QVERIFY(!wake->isEnabled() && !wake->isChecked());
    const QString howTo = "sudo setcap cap_wake_alarm+ep " + WakeScheduler::helperBesideProgram();
    QVERIFY(wake->toolTip().contains(howTo) && wake->accessibleDescription().contains(howTo));
    dialog.showWakeProblem(QStringLiteral("stopped"));
    const auto *note = dialog.findChild<QLabel *>(QStringLiteral("wakeComputerNoteLabel"));
    QVERIFY(note->text().endsWith(QLatin1String("not working: stopped")));
    QCOMPARE(runDialog(dialog, pressOk), int(QDialog::Accepted));
    QVERIFY(stored(key).toBool()); // greyed out and unticked, the stored choice stays
}

void TestSettingsDialog::translatedTexts()
{
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(DIALOGS_CATALOGUE)));
    QVERIFY(QCoreApplication::installTranslator(&german));
    const auto uninstall = qScopeGuard([&] { QCoreApplication::removeTranslator(&german); });
    addCatalogue(QStringLiteral("dorvex_de.qm"));

    SettingsDialog dialog(true);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Einstellungen"));
    QCOMPARE(resetButton(&dialog)->text(), QStringLiteral("&Zurücksetzen"));
    QCOMPARE(entryTexts(&dialog),
        (QStringList { QStringLiteral("Standard (Systemsprache)"), QStringLiteral("Englisch"),
            QStringLiteral("German – Germany") }));

    std::unique_ptr<ModalAnswerer> information;
    QString question;
    runDialog(dialog, [&](QWidget *shown) {
        ModalAnswerer asking([&](QWidget *asked) {
            question = qobject_cast<QMessageBox *>(asked)->text();
            information
                = std::make_unique<ModalAnswerer>(ModalAnswerer::pressButton(QMessageBox::Ok));
            ModalAnswerer::pressButton(QMessageBox::Yes)(asked);
        });
        resetButton(shown)->click();
    });
    QCOMPARE(question, QStringLiteral("Einstellungen wirklich zurücksetzen?"));
    QVERIFY(information);
    QCOMPARE(information->dialogText(), QStringLiteral("Einstellungen zurückgesetzt!"));
}

DORVEX_TEST_MAIN(TestSettingsDialog)

#include "tst_settingsdialog.moc"
