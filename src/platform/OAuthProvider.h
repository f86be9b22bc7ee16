// What one browser sign-in needs to know about its provider and our registration there.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

struct OAuthProvider {
    // For log lines ("Dropbox", "Google Drive").
    QString name;
    QUrl authorizationEndpoint;
    QUrl tokenEndpoint;
    QString clientId;
    // Desktop clients of some providers have one; it is not a secret there, but it is sent.
    QString clientSecret;
    // Space-separated.
    QString scope;
    // Added to the authorization request, in order (e.g. token_access_type=offline).
    QList<QPair<QString, QString>> extraAuthorizationParameters;
    // Empty: http://127.0.0.1:<loopbackPort>/ with a listener on the loopback address (port 0 takes
    // any free port). An http address on 127.0.0.1 or localhost also gets a listener, on its port
    // and path. Anything else (a custom scheme) comes back as a URL event of a later launch.
    QString redirectUri;
    quint16 loopbackPort = 0;
    // Time without data before a token request fails.
    int transferTimeoutMs = 60000;
    // The API addresses the access token may be sent to.
    QList<QUrl> apiBases;
};
