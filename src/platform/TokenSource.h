// Where HttpClient gets a provider's bearer token, and the only hosts that token may go to.
#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QUrl>

class TokenSource
{
public:
    // `apiBases`: the provider's configured API addresses (scheme, host and port count).
    explicit TokenSource(QList<QUrl> apiBases);
    virtual ~TokenSource() = default;

    // The current access token; empty when signed out. Any thread.
    virtual QString accessToken() const = 0;
    // Asks for a new access token after the provider refused the current one. `done` runs once,
    // on any thread, with true when a new token is in place.
    virtual void refresh(std::function<void(bool ok)> done) = 0;

    // True when `url` goes to one of the API addresses.
    bool isApiHost(const QUrl &url) const;
    QList<QUrl> apiBases() const { return m_apiBases; }

private:
    QList<QUrl> m_apiBases;
};
