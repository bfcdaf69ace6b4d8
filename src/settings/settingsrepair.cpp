#include "settingsrepair.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariantMap>

bool SettingsRepair::rewriteClean(const QStringList &keptKeys)
{
    QVariantMap kept;
    QString fileName;
    {
        const QSettings damaged;
        fileName = damaged.fileName();
        for (const QString &key : keptKeys) {
            if (damaged.contains(key))
                kept.insert(key, damaged.value(key));
        }
    }
    // A file made read-only stays as it is, damaged or not.
    const QFileInfo file(fileName);
    if (file.exists() && (!file.isWritable() || !QFile::remove(fileName)))
        return false;

    QSettings fresh;
    for (auto it = kept.cbegin(); it != kept.cend(); ++it)
        fresh.setValue(it.key(), it.value());
    fresh.sync();
    return fresh.status() == QSettings::NoError;
}
