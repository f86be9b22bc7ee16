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
    // How long the loopback listener waits for the redirect before the sign-in fails "timed_out".
    int redirectDeadlineMs = 5 * 60 * 1000;
    // What the browser shows once the listener has the redirect, and the description of a sign-in
    // that timed out, or whose listener closed without a redirect it could take (the user sees all).
    QString redirectAnswerText;
    QString timedOutText;
    QString notReceivedText;
    // Time without data before a token request fails.
    int transferTimeoutMs = 60000;
    // The API addresses the access token may be sent to.
    QList<QUrl> apiBases;
};
