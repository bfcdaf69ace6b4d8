#include "settingsrepair.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QVariantMap>

bool SettingsRepair::rewriteClean()
{
    QVariantMap kept;
    QString fileName;
    {
        const QSettings damaged;
        fileName = damaged.fileName();
        for (const QString &key : damaged.allKeys()) {
            if (isProgramKey(key))
                kept.insert(key, damaged.value(key));
        }
    }
    if (QFile::exists(fileName) && !QFile::remove(fileName))
        return false;

    QSettings fresh;
    for (auto it = kept.cbegin(); it != kept.cend(); ++it)
        fresh.setValue(it.key(), it.value());
    fresh.sync();
    return fresh.status() == QSettings::NoError;
}

bool SettingsRepair::isProgramKey(const QString &key)
{
    static const QRegularExpression shape(
        QStringLiteral("^[A-Za-z0-9_]+(/[A-Za-z0-9_]+)?$"), QRegularExpression::DontCaptureOption);
    return shape.match(key).hasMatch();
}
