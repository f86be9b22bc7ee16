#include "platform/OAuthDiscovery.h"

#include <QJsonObject>

#include "platform/HttpClient.h"
#include "platform/LoopbackGuard.h"

namespace
{

QUrl endpoint(const QJsonObject &document, const char *key)
{
    const QUrl url(document.value(QLatin1String(key)).toString(), QUrl::StrictMode);
    return LoopbackGuard::isSecureOrLoopbackUrl(url) ? url : QUrl();
}

} // namespace

QUrl OAuthDiscovery::documentUrl(const QUrl &issuer)
{
    QUrl url = issuer;
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/.well-known/openid-configuration"));
    return url;
}

std::optional<OAuthEndpoints> OAuthDiscovery::parse(const HttpResponse &response, QString *error)
{
    if (!response.ok()) {
        *error = response.describe();
        return std::nullopt;
    }
    const QJsonObject document = response.json();
    OAuthEndpoints endpoints { endpoint(document, "authorization_endpoint"),
        endpoint(document, "token_endpoint") };
    if (endpoints.authorizationEndpoint.isEmpty() || endpoints.tokenEndpoint.isEmpty()) {
        *error = QStringLiteral("the discovery document names no authorization and token endpoints");
        return std::nullopt;
    }
    return endpoints;
}

void OAuthDiscovery::discover(HttpClient &client, const QUrl &issuer, Completion completion)
{
    if (!issuer.isValid() || issuer.isRelative()) {
        completion(std::nullopt, QStringLiteral("the issuer address is not valid"));
        return;
    }
    HttpRequest request = HttpRequest::get(documentUrl(issuer));
    request.authorize = false;
    client.send(std::move(request), [completion = std::move(completion)](const HttpResponse &response) {
        QString error;
        const std::optional<OAuthEndpoints> endpoints = parse(response, &error);
        completion(endpoints, error);
    });
}
