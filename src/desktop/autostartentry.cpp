#include "autostartentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <glib.h>

#include <cstring>

#include <memory>

namespace {

const char entryGroup[] = "Desktop Entry";
const char hiddenKey[] = "Hidden";
// GNOME's session settings switch an entry off with this key instead of Hidden.
const char gnomeEnabledKey[] = "X-GNOME-Autostart-enabled";

struct KeyFileDeleter
{
    void operator()(GKeyFile *file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct ErrorHolder
{
    GError *error = nullptr;
    ~ErrorHolder() { g_clear_error(&error); }
    QString message() const { return error ? QString::fromUtf8(error->message) : QString(); }
};

const GKeyFileFlags keepEverything
    = GKeyFileFlags(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);

KeyFile loadKeyFile(const QString &path)
{
    KeyFile file(g_key_file_new());
    if (!g_key_file_load_from_file(
            file.get(), QFile::encodeName(path).constData(), keepEverything, nullptr))
        return nullptr;
    return file;
}

bool readBoolean(GKeyFile *file, const char *key, bool fallback)
{
    ErrorHolder holder;
    const gboolean value = g_key_file_get_boolean(file, entryGroup, key, &holder.error);
    return holder.error ? fallback : value;
}

// An entry runs Dorvex when the program its Exec line starts, after any
// "env NAME=value" prefix the user may have put in front, is Dorvex's
// launcher or Dorvex itself.
bool runsDorvex(GKeyFile *file)
{
    gchar *exec = g_key_file_get_string(file, entryGroup, "Exec", nullptr);
    if (!exec)
        return false;
    gchar **argv = nullptr;
    const bool parsed = g_shell_parse_argv(exec, nullptr, &argv, nullptr);
    g_free(exec);
    if (!parsed)
        return false;
    int index = 0;
    if (g_strcmp0(argv[index], "env") == 0) {
        ++index;
        while (argv[index] && std::strchr(argv[index], '='))
            ++index;
    }
    const QString program
        = argv[index] ? QFileInfo(QFile::decodeName(argv[index])).fileName() : QString();
    g_strfreev(argv);
    return program == QLatin1String("dorvex-launch") || program == QLatin1String("dorvex");
}

bool isOurs(GKeyFile *file)
{
    gchar *type = g_key_file_get_string(file, entryGroup, "Type", nullptr);
    const bool application = g_strcmp0(type, "Application") == 0;
    g_free(type);
    return application && runsDorvex(file);
}

} // namespace

AutostartEntry::AutostartEntry(const QString &folder)
    : folder(folder)
{
}

QString AutostartEntry::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1String("/autostart");
}

QString AutostartEntry::filePath() const
{
    return folder + QLatin1String("/org.ostrevan.dorvex.desktop");
}

QByteArray AutostartEntry::defaultContents()
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Dorvex\n"
                             "Comment=Three daily alarms that fill the screen when they ring\n"
                             "Exec=dorvex-launch\n"
                             "Icon=dorvex\n"
                             "Terminal=false\n");
}

bool AutostartEntry::isEnabled() const
{
    const KeyFile file = loadKeyFile(filePath());
    return file && isOurs(file.get()) && !readBoolean(file.get(), hiddenKey, false)
        && readBoolean(file.get(), gnomeEnabledKey, true);
}

bool AutostartEntry::setEnabled(bool enabled)
{
    error.clear();
    if (enabled == isEnabled())
        return true;

    const QString path = filePath();
    const KeyFile existing = loadKeyFile(path);
    const bool ours = existing && isOurs(existing.get());

    if (!enabled) {
        // Only an enabled entry gets here, and that is one of ours.
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == defaultContents()) {
            current.close();
            return current.remove() || fail(current.errorString());
        }
        // Edited by someone: hidden, so that their edits come back with it.
        g_key_file_set_boolean(existing.get(), entryGroup, hiddenKey, true);
    } else if (ours) {
        g_key_file_remove_key(existing.get(), entryGroup, hiddenKey, nullptr);
        g_key_file_remove_key(existing.get(), entryGroup, gnomeEnabledKey, nullptr);
    }

    if (!QDir().mkpath(folder))
        return fail(tr("The folder cannot be created."));
    ErrorHolder holder;
    const QByteArray name = QFile::encodeName(path);
    const bool saved = ours
        ? g_key_file_save_to_file(existing.get(), name.constData(), &holder.error)
        : g_file_set_contents(name.constData(), defaultContents().constData(),
            defaultContents().size(), &holder.error);
    return saved || fail(holder.message());
}

QString AutostartEntry::errorString() const
{
    return error;
}

bool AutostartEntry::fail(const QString &reason)
{
    error = tr("Dorvex could not change its start at log-in in %1:\n%2").arg(folder, reason);
    return false;
}
