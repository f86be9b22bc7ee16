#include "platform/HttpExchange.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "platform/Log.h"
#include "platform/LoopbackGuard.h"
#include "platform/ThreadMailbox.h"
#include "platform/TokenSource.h"

namespace
{

constexpr int kStopPollMs = 50;
// What Qt may hold unread from the socket: it stops reading there until the body is taken, so a
// large answer never piles up in memory.
constexpr qint64 kReadBufferBytes = 1024 * 1024;

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

qint64 announcedLength(QNetworkReply *reply)
{
    bool ok = false;
    const qint64 announced = reply->rawHeader("Content-Length").trimmed().toLongLong(&ok);
    return ok ? announced : -1;
}

// Qt takes a connection closed before the announced length as a complete answer.
bool isTruncated(const QByteArray &method, QNetworkReply *reply, qint64 received)
{
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    if (method == "HEAD" || !(encoding.isEmpty() || encoding == "identity"))
        return false;
    return received < announcedLength(reply);
}

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
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
    connect(&m_deadline, &QTimer::timeout, this, [this] { cutShort(Cut::deadline); });
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
    if (!mayReach(m_request.url)) {
        finish(HttpResponse::failed(HttpResponse::Failure::refused,
            QStringLiteral("not an https address: ") + m_request.url.toDisplayString(QUrl::RemoveQuery)));
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

bool HttpExchange::mayReach(const QUrl &url) const
{
    return m_request.listedLinkBases ? LoopbackGuard::isAllowedListedLink(url, *m_request.listedLinkBases)
                                     : LoopbackGuard::isSecureOrLoopbackUrl(url);
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
    if (mayCarryToken(m_request.url))
        request.setRawHeader("Authorization", "Bearer " + m_settings.tokens->accessToken().toUtf8());
    else if (m_request.authorize && m_settings.tokens)
        Log::line(QStringLiteral("Token withheld from a host outside the API: ") + m_request.url.host());
    // Every redirect is checked here (redirected()); one refused ends the exchange.
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
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
    watchReply(reply);
}

void HttpExchange::watchReply(QNetworkReply *reply)
{
    m_reply = reply;
    m_body.clear();
    m_received = 0;
    reply->setReadBufferSize(kReadBufferBytes);
    connect(reply, &QNetworkReply::redirected, this,
        [this, reply](const QUrl &target) { redirected(reply, target); });
    connect(reply, &QNetworkReply::metaDataChanged, this, &HttpExchange::checkAnnouncedLength);
    connect(reply, &QNetworkReply::readyRead, this, &HttpExchange::readBody);
    connect(reply, &QNetworkReply::finished, this, &HttpExchange::handleReply);
}

void HttpExchange::redirected(QNetworkReply *reply, const QUrl &target)
{
    const bool tokened = reply->request().hasRawHeader("Authorization");
    if (!mayReach(target)) {
        Log::line(QStringLiteral("Redirect to an address that is not https refused: ")
            + target.toDisplayString(QUrl::RemoveQuery));
    } else if (tokened && !mayCarryToken(target)) {
        Log::line(QStringLiteral("Redirect with a token to another host refused: ") + target.host());
    } else {
        m_body.clear();
        m_received = 0;
        emit reply->redirectAllowed();
        return;
    }
    // Qt would otherwise hold the reply open, waiting for a decision, until the transfer timeout.
    QMetaObject::invokeMethod(
        this, [this] { cutShort(Cut::redirectRefused); }, Qt::QueuedConnection);
}

void HttpExchange::checkAnnouncedLength()
{
    if (m_reply && announcedLength(m_reply) > m_request.maxBodyBytes)
        cutShort(Cut::tooLarge);
}

void HttpExchange::readBody()
{
    QNetworkReply *reply = m_reply;
    if (!reply || m_cut != Cut::none || !reply->isOpen())
        return;
    const bool toSink
        = m_request.sink && isSuccess(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt());
    while (reply->bytesAvailable() > 0) {
        const QByteArray chunk = reply->read(kReadBufferBytes);
        m_received += chunk.size();
        if (m_received > m_request.maxBodyBytes) {
            cutShort(Cut::tooLarge);
            return;
        }
        if (!toSink) {
            m_body += chunk;
        } else if (m_request.sink->write(chunk) != chunk.size()) {
            cutShort(Cut::sinkFailed);
            return;
        }
    }
}

void HttpExchange::cutShort(Cut reason)
{
    if (m_finished || m_cut != Cut::none)
        return;
    m_cut = reason;
    if (m_reply)
        m_reply->abort();
    else
        finish(cutResponse());
}

HttpResponse HttpExchange::cutResponse() const
{
    switch (m_cut) {
    case Cut::deadline:
        return HttpResponse::failed(HttpResponse::Failure::timeout, QStringLiteral("deadline passed"));
    case Cut::tooLarge:
        return HttpResponse::failed(HttpResponse::Failure::tooLarge,
            QStringLiteral("the answer passed %1 bytes").arg(m_request.maxBodyBytes));
    case Cut::redirectRefused:
        return HttpResponse::failed(HttpResponse::Failure::refused, QStringLiteral("redirect refused"));
    case Cut::sinkFailed:
        return HttpResponse::failed(
            HttpResponse::Failure::local, QStringLiteral("the body could not be written"));
    case Cut::none:
        break;
    }
    return {};
}

void HttpExchange::handleReply()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    readBody();
    m_reply = nullptr;
    reply->deleteLater();
    if (m_request.stop && m_request.stop->load()) {
        finish(HttpResponse::failed(HttpResponse::Failure::stopped, QStringLiteral("stopped")));
        return;
    }
    if (m_cut != Cut::none) {
        finish(cutResponse());
        return;
    }
    HttpResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.body = std::move(m_body);
    m_body.clear();
    response.headers = reply->rawHeaderPairs();
    response.framedBody = reply->attribute(QNetworkRequest::Http2WasUsedAttribute).toBool();
    const QNetworkReply::NetworkError error = reply->error();
    // An error under a 2xx status is a body cut short (a chunked answer whose connection closed):
    // the answer is not whole.
    if (response.status >= 300 || error != QNetworkReply::NoError) {
        if (response.status < 300) {
            response.failure = failureOf(error);
            response.errorText = reply->errorString();
        } else {
            response.failure = HttpResponse::Failure::status;
            response.errorText = reply->errorString();
        }
    }
    if (response.ok() && isTruncated(m_request.method, reply, m_received)) {
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
