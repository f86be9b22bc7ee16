#include "platform/OAuthRedirectHandler.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QUrlQuery>

namespace
{

QVariantMap parseTokenAnswer(const QByteArray &body, const QByteArray &contentType)
{
    if (contentType.startsWith("application/x-www-form-urlencoded") || contentType.startsWith("text/plain")) {
        QVariantMap values;
        const QUrlQuery query(QString::fromUtf8(body));
        for (const auto &item : query.queryItems(QUrl::FullyDecoded))
            values.insert(item.first, item.second);
        if (!values.isEmpty())
            return values;
    }
    const QJsonDocument document = QJsonDocument::fromJson(body);
    return document.isObject() ? document.object().toVariantMap() : QVariantMap();
}

} // namespace

OAuthRedirectHandler::OAuthRedirectHandler(QObject *parent)
    : QAbstractOAuthReplyHandler(parent)
{
}

void OAuthRedirectHandler::networkReplyFinished(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->readAll();
    const QVariantMap values = parseTokenAnswer(body, reply->rawHeader("Content-Type").toLower());
    const QString error = values.value(QStringLiteral("error")).toString();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status >= 300 || !error.isEmpty()) {
        const QString description = values.value(QStringLiteral("error_description")).toString();
        emit tokenRequestFailed(error.isEmpty() ? QStringLiteral("token_request_failed") : error,
            description.isEmpty() ? reply->errorString() : description);
        return;
    }
    if (values.value(QStringLiteral("access_token")).toString().isEmpty()) {
        emit tokenRequestFailed(
            QStringLiteral("invalid_response"), QStringLiteral("no access token in the answer"));
        return;
    }
    emit replyDataReceived(body);
    emit tokensReceived(values);
    emit tokenRequestSucceeded();
}
