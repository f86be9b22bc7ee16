// The sign-in and token addresses of an OpenID issuer, read from its discovery document
// ("<issuer>/.well-known/openid-configuration").
#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QUrl>

class HttpClient;
struct HttpResponse;

struct OAuthEndpoints {
    QUrl authorizationEndpoint;
    QUrl tokenEndpoint;
};

class OAuthDiscovery
{
public:
    // Endpoints, or nothing and a description of what went wrong.
    using Completion = std::function<void(const std::optional<OAuthEndpoints> &, const QString &error)>;

    static QUrl documentUrl(const QUrl &issuer);
    // Both endpoints present as https addresses (http only on a loopback host).
    static std::optional<OAuthEndpoints> parse(const HttpResponse &response, QString *error);
    // Through `client` (its completion thread is this call's).
    static void discover(HttpClient &client, const QUrl &issuer, Completion completion);
};
