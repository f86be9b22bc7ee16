// Where a configurable value comes from: an environment variable when it is set, else a settings
// key the user holds, else the built-in default. Tests, the headless runner and packagers point the
// application at other servers this way.
#pragma once

#include <QString>

class Configuration
{
public:
    static QString value(
        const char *environmentVariable, const QString &settingsKey, const QString &builtIn = {});
};
