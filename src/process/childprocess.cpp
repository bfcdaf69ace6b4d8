#include "childprocess.h"

#include <QProcess>
#include <QTimer>

void ChildProcess::letGo(QProcess *process, int graceMs)
{
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    process->setParent(nullptr);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QTimer::singleShot(graceMs, process, &QProcess::kill);
    process->closeWriteChannel();
}
