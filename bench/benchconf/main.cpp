// Writes keys into the program's settings store through QSettings, so that
// each value is stored exactly as the program itself would store it.
// Usage: benchconf KEY=VALUE...; a value "time:HH:mm:ss" is stored as a
// time of day, "true" and "false" as switches, anything else as text.
#include <QCoreApplication>
#include <QSettings>
#include <QTime>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QSettings settings(QStringLiteral("Ostrevan"), QStringLiteral("dorvex"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString &argument : arguments) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            std::fprintf(stderr, "benchconf: not KEY=VALUE: %s\n", qPrintable(argument));
            return 2;
        }
        const QString key = argument.left(equals);
        const QString text = argument.mid(equals + 1);
        QVariant value = text;
        if (text.startsWith(QLatin1String("time:"))) {
            const QTime time = QTime::fromString(text.mid(5), QStringLiteral("HH:mm:ss"));
            if (!time.isValid()) {
                std::fprintf(stderr, "benchconf: not a time: %s\n", qPrintable(text));
                return 2;
            }
            value = time;
        } else if (text == QLatin1String("true") || text == QLatin1String("false")) {
            value = text == QLatin1String("true");
        }
        settings.setValue(key, value);
    }
    settings.sync();
    return settings.status() == QSettings::NoError ? 0 : 1;
}
