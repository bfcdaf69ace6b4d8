#include "alarmrow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>

void AlarmRow::showArmed(bool armed, bool allDisabled) const
{
    // Through an icon, which takes the lamp's double-size picture where the
    // screen is scaled up.
    ledLabel->setPixmap(QIcon(armed ? QStringLiteral(":/icons/images/greenled.png")
                                    : QStringLiteral(":/icons/images/redled.png"))
                            .pixmap(QSize(16, 16), ledLabel->devicePixelRatioF()));
    enableCheckBox->setAccessibleDescription(allDisabled
            ? QCoreApplication::translate("MainWindow", "All alarms are disabled")
            : QString());
}
