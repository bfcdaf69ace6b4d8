#ifndef DORVEX_TRAYHOSTPROCESS_H
#define DORVEX_TRAYHOSTPROCESS_H

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// A tray host that a test starts and stops itself, as a panel comes and goes
// during a session: trayer, an XEmbed tray on the X display, or the harness's
// StatusNotifier host on the session bus (a silent one owns the watcher's
// name and answers nothing, a late one starts answering after a second,
// without a word). The StatusNotifier host also acts as the panel
// that shows the items: it lists them, clicks them and reads their icons.
class TrayHostProcess
{
public:
    enum class Kind { XEmbed, StatusNotifier, SilentStatusNotifier, LateStatusNotifier };

    explicit TrayHostProcess(Kind kind);
    ~TrayHostProcess();

    TrayHostProcess(const TrayHostProcess &) = delete;
    TrayHostProcess &operator=(const TrayHostProcess &) = delete;

    // XEmbed or StatusNotifier, as the test's environment names it in
    // DORVEX_TEST_TRAY_HOST ("xembed" or "statusnotifier").
    static Kind kindFromEnvironment();

    // Return once the host is there, or gone again.
    bool start();
    void stop();

    // The bus names of the items registered with the StatusNotifier host.
    QStringList items() const;
    // A click on the item, as a panel sends it; not waited for.
    void activate(const QString &item) const;
    struct Icon
    {
        QString name;
        QList<int> pictureSizes;
    };
    Icon icon(const QString &item) const;

private:
    bool trayManagerPresent() const;

    Kind kind;
    QProcess process;
};

#endif
