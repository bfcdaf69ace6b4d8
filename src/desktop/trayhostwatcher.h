#ifndef DORVEX_TRAYHOSTWATCHER_H
#define DORVEX_TRAYHOSTWATCHER_H

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <cstdint>

// Watches for something that can show a tray icon: a StatusNotifier host
// behind org.kde.StatusNotifierWatcher on the session bus, and on X11 the
// XEmbed tray manager that owns the _NET_SYSTEM_TRAY_S<screen> selection.
// It asks the toolkit nothing about trays, because the toolkit settles on
// one protocol for the whole process at its first tray call: that call is
// to be made only once a host is there, and after commitProtocol().
// Nothing here waits: the bus is asked asynchronously with a timeout, the X
// server reports selection changes itself, and nothing polls while a host
// is there.
class TrayHostWatcher : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    enum class Protocol { None, StatusNotifier, XEmbed };
    Q_ENUM(Protocol)

    struct Timing
    {
        // How long the StatusNotifier watcher has to answer a question.
        int answerTimeoutMs = 2000;
        // When a watcher is on the bus but did not answer, how long until
        // it is asked again.
        int retryIntervalMs = 15000;
    };

    explicit TrayHostWatcher(QObject *parent = nullptr);
    TrayHostWatcher(Timing timing, QObject *parent = nullptr);
    ~TrayHostWatcher() override;

    // The protocol a tray icon can be shown through now; None when no host
    // is there, or only one of a protocol the toolkit has not chosen, or
    // before the watcher is settled.
    Protocol usableProtocol() const;
    bool isAvailable() const { return usableProtocol() != Protocol::None; }

    // False until the session bus has answered the first question (or did
    // not in time); the X11 tray is known from the start.
    bool isSettled() const { return statusNotifierSettled; }

    // To be called just before the process's tray icons are made: records
    // the protocol the toolkit then settles on for the rest of the process.
    void commitProtocol();
    // The protocol committed to, None before the first commit.
    static Protocol committedProtocol();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    // usableProtocol() changed.
    void availabilityChanged();
    // isSettled() became true.
    void settled();

private slots:
    void askStatusNotifierWatcher();

private:
    void watchStatusNotifierHost();
    void watchXEmbedSelection();
    void answerStatusNotifierQuestion(bool hostRegistered, bool watcherSilent);
    void setHosts(bool statusNotifier, bool xembed);

    Timing timing;
    bool statusNotifierHost = false;
    bool statusNotifierSettled = true;
    bool statusNotifierSilent = false;
    bool xembedTray = false;
    quint64 questionsAsked = 0;
    QTimer retryTimer;

    // The X11 connection's selection events, while they are watched.
    std::uint32_t trayManagerSelection = 0;
    int selectionNotifyEvent = -1;
};

#endif
