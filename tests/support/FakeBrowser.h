// Stands in for the desktop's browser in sign-in tests: opens the sign-in page on the fake
// provider, follows its 302 back to a loopback redirect with a real request, and hands a
// custom-scheme redirect to `deliver` (a second launch, say).
#pragma once

#include <functional>

#include <QList>
#include <QUrl>

class QNetworkAccessManager;

class FakeBrowser
{
public:
    explicit FakeBrowser(std::function<void(const QUrl &)> deliver = {});
    ~FakeBrowser();

    // For OAuthCodeFlow::setBrowserOpener.
    std::function<bool(const QUrl &)> opener();

    QList<QUrl> opened() const { return m_opened; }
    // Loopback redirects that got an answer from the listener, whatever its status.
    int redirectsAnswered() const { return m_answered; }

private:
    void open(const QUrl &url);
    void follow(const QUrl &location);

    std::function<void(const QUrl &)> m_deliver;
    QNetworkAccessManager *m_manager;
    QList<QUrl> m_opened;
    int m_answered = 0;
};
