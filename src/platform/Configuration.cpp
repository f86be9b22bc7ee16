#include "platform/Configuration.h"

#include "platform/UserDefaults.h"

QString Configuration::value(
    const char *environmentVariable, const QString &settingsKey, const QString &builtIn)
{
    if (environmentVariable && qEnvironmentVariableIsSet(environmentVariable))
        return qEnvironmentVariable(environmentVariable).trimmed();
    UserDefaults &defaults = UserDefaults::standard();
    if (!settingsKey.isEmpty() && defaults.hasUserValue(settingsKey))
        return defaults.stringForKey(settingsKey).trimmed();
    return builtIn;
}
