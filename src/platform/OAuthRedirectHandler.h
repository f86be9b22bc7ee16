// The reply handler of OAuthCodeFlow: it names the redirect address, hands the flow a redirect
// the flow has checked, and reads the token endpoint's answers, failures included (Qt's own
// handlers drop a refused exchange or refresh with nothing but a warning).
#pragma once

#include <QAbstractOAuthReplyHandler>
#include <QString>
#include <QVariantMap>

class OAuthRedirectHandler : public QAbstractOAuthReplyHandler
{
    Q_OBJECT
public:
    explicit OAuthRedirectHandler(QObject *parent = nullptr);

    void setCallback(const QString &redirectUri) { m_callback = redirectUri; }
    QString callback() const override { return m_callback; }

    // Passes the values of an accepted redirect to the flow.
    void deliverRedirect(const QVariantMap &values) { emit callbackReceived(values); }

    void networkReplyFinished(QNetworkReply *reply) override;

signals:
    // After tokensReceived has been handled by the flow.
    void tokenRequestSucceeded();
    void tokenRequestFailed(const QString &error, const QString &description);

private:
    QString m_callback;
};
