// Addresses and registrations of the cloud providers, each read through Configuration. Client
// identifiers, secrets and application keys are the packager's own registrations and default to
// empty. The API, content, sign-in and discovery bases must be https (http only on a loopback
// host); any other configured base is refused with a log line and the built-in one is used.
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
