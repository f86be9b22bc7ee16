// JSON and raw HTTP for the cloud providers and the web pages, with errors as values. Three ways
// to run, chosen when the client is made:
//  - guiThread: send() returns at once; the completion runs on the GUI thread.
//  - workerThread: the client owns one thread with its own network manager; send() returns at
//    once and the completion runs on that thread, in order of completion.
//  - blocking: sendBlocking() from a background thread, on a manager of its own and a local
//    event loop. Refused (with a log line) on the GUI thread and on a client's worker thread,
//    where waiting would freeze the window or the very thread that delivers the answers.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QObject>

#include "platform/HttpExchange.h"
#include "platform/HttpRequest.h"
#include "platform/HttpResponse.h"
#include "platform/RetryPolicy.h"

class QThread;
class TokenSource;

class HttpClient
{
public:
    enum class Mode { guiThread, workerThread, blocking };
    using Completion = std::function<void(const HttpResponse &)>;
    static constexpr int kDefaultTransferTimeoutMs = 60000;

    struct Options {
        Mode mode = Mode::blocking;
        std::shared_ptr<TokenSource> tokens;
        std::optional<RetryPolicy> retry;
        // Time without any data arriving before a transfer fails.
        int transferTimeoutMs = kDefaultTransferTimeoutMs;
    };

    explicit HttpClient(Options options);
    ~HttpClient();
    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    Mode mode() const { return m_options.mode; }
    // Asynchronous modes; a blocking client answers on the calling thread before returning.
    void send(HttpRequest request, Completion completion);
    HttpResponse sendBlocking(HttpRequest request);
    // True on the thread that delivers this client's completions (the worker or the GUI thread).
    bool isDeliveryThread() const;
    // The worker thread of a workerThread client (else null), for callers that post work there.
    QObject *workerContext() const;

private:
    HttpExchangeSettings exchangeSettings() const;
    bool mayBlockHere() const;

    Options m_options;
    QObject *m_context = nullptr;
    QThread *m_thread = nullptr;
};
