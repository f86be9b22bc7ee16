#include "support/FakeBrowser.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

FakeBrowser::FakeBrowser(std::function<void(const QUrl &)> deliver)
    : m_deliver(std::move(deliver))
    , m_manager(new QNetworkAccessManager)
{
}

FakeBrowser::~FakeBrowser()
{
    delete m_manager;
}

std::function<bool(const QUrl &)> FakeBrowser::opener()
{
    return [this](const QUrl &url) {
        open(url);
        return true;
    };
}

void FakeBrowser::open(const QUrl &url)
{
    m_opened.append(url);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = m_manager->get(request);
    QObject::connect(reply, &QNetworkReply::finished, m_manager, [this, reply] {
        reply->deleteLater();
        const QByteArray location = reply->rawHeader("Location");
        if (!location.isEmpty())
            follow(QUrl::fromEncoded(location));
    });
}

void FakeBrowser::follow(const QUrl &location)
{
    if (location.scheme() != QLatin1String("http")) {
        if (m_deliver)
            m_deliver(location);
        return;
    }
    QNetworkReply *reply = m_manager->get(QNetworkRequest(location));
    QObject::connect(reply, &QNetworkReply::finished, m_manager, [this, reply] {
        reply->deleteLater();
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            ++m_answered;
    });
}
