#include "platform/RetryPolicy.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTimer>

#include "platform/HttpResponse.h"

namespace
{

constexpr qint64 kMaxRetryAfterMs = 60LL * 60 * 1000;

bool isRateLimitReason(const HttpResponse &response)
{
    const QJsonObject error = response.json().value(QLatin1String("error")).toObject();
    const QJsonArray errors = error.value(QLatin1String("errors")).toArray();
    for (const QJsonValue &item : errors) {
        const QString reason = item.toObject().value(QLatin1String("reason")).toString();
        if (reason == QLatin1String("rateLimitExceeded") || reason == QLatin1String("userRateLimitExceeded"))
            return true;
    }
    return false;
}

} // namespace

bool RetryPolicy::isRetryable(const HttpResponse &response)
{
    if (response.failure != HttpResponse::Failure::status)
        return false;
    switch (response.status) {
    case 429:
    case 500:
    case 502:
    case 503:
    case 504:
        return true;
    case 403:
        return isRateLimitReason(response);
    default:
        return false;
    }
}

int RetryPolicy::delayMs(int retry, const HttpResponse &response) const
{
    if (const std::optional<int> asked
        = retryAfterMs(response.header("Retry-After"), QDateTime::currentDateTimeUtc()))
        return *asked;
    const qint64 exponential = qint64(baseDelayMs) << std::clamp(retry, 0, 20);
    const int jitter = maxJitterMs > 0 ? int(QRandomGenerator::global()->bounded(maxJitterMs + 1)) : 0;
    return int(std::min<qint64>(exponential, maxDelayMs)) + jitter;
}

std::optional<int> RetryPolicy::retryAfterMs(const QByteArray &value, const QDateTime &now)
{
    const QByteArray text = value.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const qint64 seconds = text.toLongLong(&isNumber);
    qint64 ms = 0;
    if (isNumber) {
        if (seconds < 0)
            return std::nullopt;
        ms = seconds * 1000;
    } else {
        // HTTP dates end in "GMT", which Qt's RFC 2822 reader wants as an offset.
        QString date = QString::fromLatin1(text);
        if (date.endsWith(QLatin1String(" GMT")))
            date = date.chopped(3) + QStringLiteral("+0000");
        const QDateTime when = QDateTime::fromString(date, Qt::RFC2822Date);
        if (!when.isValid())
            return std::nullopt;
        ms = std::max<qint64>(0, now.msecsTo(when));
    }
    return int(std::min(ms, kMaxRetryAfterMs));
}

void RetryPolicy::sleep(int ms, std::function<void()> resume) const
{
    if (sleeper)
        sleeper(ms, std::move(resume));
    else
        QTimer::singleShot(ms, std::move(resume));
}
