// Addresses and registrations of the cloud providers. Each value comes from an environment
// variable when it is set, else from a settings key the user holds, else from a built-in default,
// so tests, the headless runner and packagers can point the application at other servers.
// Client identifiers, secrets and application keys are the packager's own registrations and
// default to empty.
#pragma once

#include <QString>

class CloudConfiguration
{
public:
    // The lookup every value goes through (environment, then settings, then `builtIn`).
    static QString value(
        const char *environmentVariable, const QString &settingsKey, const QString &builtIn = {});

    static QString dropboxApiBase();
    static QString dropboxContentBase();
    static QString dropboxAuthBase();
    static QString dropboxAppKey();
    // Empty: a loopback redirect on any free port; otherwise the registered redirect address.
    static QString dropboxRedirectUri();

    static QString googleIssuer();
    static QString googleApiBase();
    static QString googleClientId();
    static QString googleClientSecret();

    // Milliseconds without data before a cloud request gives up (60 s unless configured).
    static int transferTimeoutMs();
};
