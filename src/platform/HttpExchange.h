// One request of HttpClient from first send to completion, on the thread it was started on:
// bearer token, one refresh on 401, retries by policy, the transfer timeout, the deadline, the stop
// flag, the body's size limit and its sink, and the check of every address and redirect. It
// deletes itself after calling its completion exactly once.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "platform/HttpRequest.h"
#include "platform/HttpResponse.h"
#include "platform/RetryPolicy.h"

class QNetworkAccessManager;
class QNetworkReply;
class ThreadMailbox;
class TokenSource;

struct HttpExchangeSettings {
    std::shared_ptr<TokenSource> tokens;
    std::optional<RetryPolicy> retry;
    int transferTimeoutMs = 60000;
};

class HttpExchange : public QObject
{
    Q_OBJECT
public:
    using Completion = std::function<void(const HttpResponse &)>;

    HttpExchange(QNetworkAccessManager *manager, HttpRequest request, HttpExchangeSettings settings,
        Completion completion);
    ~HttpExchange() override;

    void start();

private:
    enum class Cut { none, deadline, tooLarge, redirectRefused, sinkFailed };

    void sendAttempt();
    void watchReply(QNetworkReply *reply);
    void redirected(QNetworkReply *reply, const QUrl &target);
    void checkAnnouncedLength();
    void readBody();
    void cutShort(Cut reason);
    void handleReply();
    HttpResponse cutResponse() const;
    void afterUnauthorized(const HttpResponse &response);
    void afterRetryable(const HttpResponse &response);
    void finish(const HttpResponse &response);
    void checkStop();
    bool mayCarryToken(const QUrl &url) const;
    // An address this request may reach, itself or by a redirect.
    bool mayReach(const QUrl &url) const;
    int remainingMs() const;

    QNetworkAccessManager *m_manager;
    HttpRequest m_request;
    HttpExchangeSettings m_settings;
    Completion m_completion;
    std::shared_ptr<ThreadMailbox> m_mailbox;
    QPointer<QNetworkReply> m_reply;
    QElapsedTimer m_clock;
    QTimer m_deadline;
    QTimer m_stopPoll;
    int m_retries = 0;
    bool m_refreshed = false;
    Cut m_cut = Cut::none;
    // The answer's body so far (not what went to the sink), and every byte taken of it.
    QByteArray m_body;
    qint64 m_received = 0;
    bool m_finished = false;
};
