// Keeps a process on this machine: once installed, every Qt network connection to a host other
// than the loopback addresses fails before a socket opens. The test processes install it, so no
// test can reach a real provider by mistake.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class LoopbackGuard
{
public:
    // True for 127.0.0.1 (and the rest of 127/8), ::1 and "localhost".
    static bool isLoopbackHost(const QString &host);
    static bool isLoopbackUrl(const QUrl &url);
    // An address the program may fetch or send a token to: https with a host, or http to a
    // loopback host (the local fakes and sign-in listeners). Never file:, data: or a plain-text
    // connection across the network.
    static bool isSecureOrLoopbackUrl(const QUrl &url);
    // A link a provider's answer handed over (a listing's image link) is fetched over https only;
    // plain http only where the program was configured to talk to it (the local fakes): the
    // scheme, host and port of one of `configuredBases`. Never any other service on this machine.
    static bool isAllowedListedLink(const QUrl &url, const QList<QUrl> &configuredBases);
    // The same scheme, host and port (a scheme's default port counted as given).
    static bool isSameOrigin(const QUrl &url, const QUrl &base);

    // Installs the guard as the application's proxy factory (process-wide, idempotent).
    static void install();
    static bool isInstalled();
};
