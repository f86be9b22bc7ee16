#include "platform/HttpExchange.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "platform/Log.h"
#include "platform/ThreadMailbox.h"
#include "platform/TokenSource.h"

namespace
{

constexpr int kStopPollMs = 50;

HttpResponse::Failure failureOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return HttpResponse::Failure::timeout;
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return HttpResponse::Failure::refused;
    default:
        return HttpResponse::Failure::network;
    }
}

// Qt takes a connection closed before the announced length as a complete answer.
bool isTruncated(const QByteArray &method, QNetworkReply *reply, const QByteArray &body)
{
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    if (method == "HEAD" || !reply->hasRawHeader("Content-Length")
        || !(encoding.isEmpty() || encoding == "identity"))
        return false;
    bool ok = false;
    const qint64 announced = reply->rawHeader("Content-Length").trimmed().toLongLong(&ok);
    return ok && body.size() < announced;
}

} // namespace

HttpExchange::HttpExchange(
    QNetworkAccessManager *manager, HttpRequest request, HttpExchangeSettings settings, Completion completion)
    : m_manager(manager)
    , m_request(std::move(request))
    , m_settings(std::move(settings))
    , m_completion(std::move(completion))
    , m_mailbox(ThreadMailbox::create(this))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        m_timedOutByDeadline = true;
        if (m_reply)
            m_reply->abort();
        else
            finish(HttpResponse::failed(HttpResponse::Failure::timeout, QStringLiteral("deadline passed")));
    });
    m_stopPoll.setInterval(kStopPollMs);
    connect(&m_stopPoll, &QTimer::timeout, this, &HttpExchange::checkStop);
}

HttpExchange::~HttpExchange()
{
    m_mailbox->close();
    if (m_reply)
        m_reply->abort();
}

void HttpExchange::start()
{
    if (!m_request.url.isValid() || m_request.url.isRelative()) {
        finish(HttpResponse::failed(
            HttpResponse::Failure::refused, QStringLiteral("invalid address ") + m_request.url.toString()));
        return;
    }
    m_clock.start();
    if (m_request.deadlineMs > 0)
        m_deadline.start(m_request.deadlineMs);
    if (m_request.stop)
        m_stopPoll.start();
    sendAttempt();
}

bool HttpExchange::mayCarryToken(const QUrl &url) const
{
    return m_request.authorize && m_settings.tokens && m_settings.tokens->isApiHost(url);
}

void HttpExchange::sendAttempt()
{
    if (m_finished)
        return;
    if (m_request.stop && m_request.stop->load()) {
        finish(HttpResponse::failed(HttpResponse::Failure::stopped, QStringLiteral("stopped")));
        return;
    }
    QNetworkRequest request(m_request.url);
    request.setTransferTimeout(m_settings.transferTimeoutMs);
    for (const auto &header : m_request.headers)
        request.setRawHeader(header.first, header.second);
    if (!m_request.contentType.isEmpty())
        request.setRawHeader("Content-Type", m_request.contentType);
    if (mayCarryToken(m_request.url)) {
        request.setRawHeader("Authorization", "Bearer " + m_settings.tokens->accessToken().toUtf8());
        // A redirect may only take the token to another API address.
        request.setAttribute(
            QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    } else {
        if (m_request.authorize && m_settings.tokens)
            Log::line(QStringLiteral("Token withheld from a host outside the API: ") + m_request.url.host());
        request.setAttribute(
            QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    }
    QNetworkReply *reply = nullptr;
    if (m_request.method == "GET")
        reply = m_manager->get(request);
    else if (m_request.method == "HEAD")
        reply = m_manager->head(request);
    else if (m_request.body.isEmpty())
        // No body device at all: Qt would otherwise label an empty body as a form.
        reply = m_manager->sendCustomRequest(request, m_request.method, static_cast<QIODevice *>(nullptr));
    else
        reply = m_manager->sendCustomRequest(request, m_request.method, m_request.body);
    m_reply = reply;
    connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl &target) {
        if (mayCarryToken(target))
            emit reply->redirectAllowed();
        else
            Log::line(QStringLiteral("Redirect with a token to another host refused: ") + target.host());
    });
    connect(reply, &QNetworkReply::finished, this, &HttpExchange::handleReply);
}

void HttpExchange::handleReply()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
    HttpResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen())
        response.body = reply->readAll();
    response.headers = reply->rawHeaderPairs();
    const QNetworkReply::NetworkError error = reply->error();
    if (m_request.stop && m_request.stop->load()) {
        finish(HttpResponse::failed(HttpResponse::Failure::stopped, QStringLiteral("stopped")));
        return;
    }
    if (m_timedOutByDeadline) {
        finish(HttpResponse::failed(HttpResponse::Failure::timeout, QStringLiteral("deadline passed")));
        return;
    }
    if (response.status >= 300 || (response.status == 0 && error != QNetworkReply::NoError)) {
        if (response.status == 0) {
            response.failure = failureOf(error);
            response.errorText = reply->errorString();
        } else {
            response.failure = HttpResponse::Failure::status;
            response.errorText = reply->errorString();
        }
    }
    if (response.ok() && isTruncated(m_request.method, reply, response.body)) {
        response.failure = HttpResponse::Failure::network;
        response.errorText = QStringLiteral("the connection closed before the whole answer arrived");
    }
    if (response.status == 401 && mayCarryToken(m_request.url)) {
        afterUnauthorized(response);
        return;
    }
    if (m_settings.retry && RetryPolicy::isRetryable(response) && m_retries < m_settings.retry->maxRetries) {
        afterRetryable(response);
        return;
    }
    finish(response);
}

void HttpExchange::afterUnauthorized(const HttpResponse &response)
{
    if (m_refreshed) {
        HttpResponse signedOut = response;
        signedOut.failure = HttpResponse::Failure::signedOut;
        finish(signedOut);
        return;
    }
    m_refreshed = true;
    std::weak_ptr<ThreadMailbox> mailbox = m_mailbox;
    m_settings.tokens->refresh([mailbox, this, response](bool ok) {
        if (const auto box = mailbox.lock()) {
            box->post([this, ok, response] {
                if (ok) {
                    sendAttempt();
                    return;
                }
                HttpResponse signedOut = response;
                signedOut.failure = HttpResponse::Failure::signedOut;
                signedOut.errorText = QStringLiteral("token refresh failed");
                finish(signedOut);
            });
        }
    });
}

void HttpExchange::afterRetryable(const HttpResponse &response)
{
    const int delay = m_settings.retry->delayMs(m_retries, response);
    if (m_request.deadlineMs > 0 && delay >= remainingMs()) {
        finish(response);
        return;
    }
    ++m_retries;
    std::weak_ptr<ThreadMailbox> mailbox = m_mailbox;
    m_settings.retry->sleep(delay, [mailbox, this] {
        if (const auto box = mailbox.lock())
            box->post([this] { sendAttempt(); });
    });
}

int HttpExchange::remainingMs() const
{
    return int(m_request.deadlineMs - m_clock.elapsed());
}

void HttpExchange::checkStop()
{
    if (!m_request.stop || !m_request.stop->load())
        return;
    if (m_reply)
        m_reply->abort();
    else
        finish(HttpResponse::failed(HttpResponse::Failure::stopped, QStringLiteral("stopped")));
}

void HttpExchange::finish(const HttpResponse &response)
{
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    m_stopPoll.stop();
    m_mailbox->close();
    if (!response.ok())
        Log::line(QStringLiteral("HTTP ") + QString::fromLatin1(m_request.method) + QLatin1Char(' ')
            + m_request.url.toDisplayString(QUrl::RemoveQuery) + QStringLiteral(": ") + response.describe());
    const Completion completion = std::move(m_completion);
    deleteLater();
    if (completion)
        completion(response);
}
