#include "platform/HttpResponse.h"

#include <QJsonDocument>
#include <QJsonValue>

#include "platform/OutsideText.h"

namespace
{

QString failureName(HttpResponse::Failure failure)
{
    switch (failure) {
    case HttpResponse::Failure::none:
        return QStringLiteral("ok");
    case HttpResponse::Failure::network:
        return QStringLiteral("network error");
    case HttpResponse::Failure::timeout:
        return QStringLiteral("timed out");
    case HttpResponse::Failure::status:
        return QStringLiteral("HTTP error");
    case HttpResponse::Failure::signedOut:
        return QStringLiteral("signed out");
    case HttpResponse::Failure::refused:
        return QStringLiteral("refused");
    case HttpResponse::Failure::stopped:
        return QStringLiteral("stopped");
    case HttpResponse::Failure::tooLarge:
        return QStringLiteral("answer too large");
    case HttpResponse::Failure::local:
        return QStringLiteral("local write failed");
    case HttpResponse::Failure::incomplete:
        return QStringLiteral("incomplete copy");
    }
    return {};
}

} // namespace

QByteArray HttpResponse::header(const QByteArray &name) const
{
    for (const auto &pair : headers) {
        if (pair.first.compare(name, Qt::CaseInsensitive) == 0)
            return pair.second;
    }
    return {};
}

QJsonObject HttpResponse::json() const
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    return document.isObject() ? document.object() : QJsonObject();
}

QString HttpResponse::providerError() const
{
    const QJsonObject object = json();
    if (object.contains(QLatin1String("error_summary")))
        return object.value(QLatin1String("error_summary")).toString();
    const QJsonValue error = object.value(QLatin1String("error"));
    if (error.isObject())
        return error.toObject().value(QLatin1String("message")).toString();
    if (error.isString()) {
        const QString description = object.value(QLatin1String("error_description")).toString();
        return description.isEmpty() ? error.toString()
                                     : error.toString() + QStringLiteral(": ") + description;
    }
    return {};
}

QString HttpResponse::describe() const
{
    QString text = failureName(failure);
    if (status != 0)
        text += QStringLiteral(" %1").arg(status);
    const QString words = providerError();
    if (!words.isEmpty())
        text += QStringLiteral(" ") + words;
    else if (!errorText.isEmpty())
        text += QStringLiteral(" ") + errorText;
    // The server's words reach alerts and the log: one line, a few hundred characters at most.
    return OutsideText::reason(text);
}

HttpResponse HttpResponse::failed(Failure failure, const QString &errorText)
{
    HttpResponse response;
    response.failure = failure;
    response.errorText = errorText;
    return response;
}
