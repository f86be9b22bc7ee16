#include "app/OSVersionFlags.h"

#include <QSysInfo>

#include "platform/Log.h"

void OSVersionFlags::applyVersion(int major, int minor)
{
    bool older = false, os1013Or1014 = false, os1015 = false;
    bool os11 = false, os13 = false, os14 = false, os15 = false;
    if (major >= 11) {
        os11 = true;
        os13 = major >= 13;
        os14 = major > 13;
        os15 = major >= 15;
    } else if (minor == 13 || minor == 14) {
        os1013Or1014 = true;
    } else if (minor == 15) {
        os1015 = true;
    } else if (minor == 16) {
        os11 = true;
    } else {
        older = true;
    }
    isOSOlderThan1013 = older;
    isOS1013Or1014 = os1013Or1014;
    isOS1015 = os1015;
    isOS1014OrLater = major >= 11 || minor >= 14;
    isOS11OrLater = os11;
    isOS13OrLater = os13;
    isOS14OrLater = os14;
    isOS15OrLater = os15;
}

QString OSVersionFlags::systemDescription()
{
    return QStringLiteral("%1 (%2 %3)")
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion());
}

void OSVersionFlags::detectOSVersion()
{
    applyVersion(kProfileMajor, kProfileMinor);
    Log::line(QStringLiteral("System: %1, Qt %2").arg(systemDescription(), QString::fromLatin1(qVersion())));
}
