#include "platform/HttpClient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QThread>

#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/TokenSource.h"

namespace
{

// Lives on the thread that runs the exchanges and makes its network manager there on first use,
// since a manager must be used on the thread it belongs to.
class ExchangeHost : public QObject
{
public:
    QNetworkAccessManager *manager()
    {
        if (!m_manager)
            m_manager = new QNetworkAccessManager(this);
        return m_manager;
    }

private:
    QNetworkAccessManager *m_manager = nullptr;
};

void runOn(
    ExchangeHost *host, HttpRequest request, HttpExchangeSettings settings, HttpClient::Completion completion)
{
    auto *exchange
        = new HttpExchange(host->manager(), std::move(request), std::move(settings), std::move(completion));
    exchange->setParent(host);
    exchange->start();
}

} // namespace

HttpClient::HttpClient(Options options)
    : m_options(std::move(options))
{
    switch (m_options.mode) {
    case Mode::guiThread:
        m_context = new ExchangeHost;
        if (QCoreApplication::instance())
            m_context->moveToThread(QCoreApplication::instance()->thread());
        break;
    case Mode::workerThread:
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("HttpClient worker"));
        m_context = new ExchangeHost;
        m_context->moveToThread(m_thread);
        QObject::connect(m_thread, &QThread::finished, m_context, &QObject::deleteLater);
        m_thread->start();
        break;
    case Mode::blocking:
        break;
    }
}

HttpClient::~HttpClient()
{
    if (m_thread) {
        m_thread->quit();
        m_thread->wait();
        delete m_thread;
    } else if (m_context) {
        if (m_context->thread() == QThread::currentThread())
            delete m_context;
        else
            m_context->deleteLater();
    }
}

HttpExchangeSettings HttpClient::exchangeSettings() const
{
    return HttpExchangeSettings { m_options.tokens, m_options.retry, m_options.transferTimeoutMs };
}

void HttpClient::send(HttpRequest request, Completion completion)
{
    if (m_options.mode == Mode::blocking) {
        const HttpResponse response = sendBlocking(std::move(request));
        if (completion)
            completion(response);
        return;
    }
    auto *host = static_cast<ExchangeHost *>(m_context);
    QMetaObject::invokeMethod(
        host,
        [host, request = std::move(request), settings = exchangeSettings(),
            completion = std::move(completion)]() mutable {
            runOn(host, std::move(request), std::move(settings), std::move(completion));
        },
        Qt::QueuedConnection);
}

bool HttpClient::mayBlockHere() const
{
    if (Dispatch::isMainThread())
        return false;
    return !(m_thread && QThread::currentThread() == m_thread);
}

HttpResponse HttpClient::sendBlocking(HttpRequest request)
{
    if (!mayBlockHere()) {
        const QString where = Dispatch::isMainThread() ? QStringLiteral("the GUI thread")
                                                       : QStringLiteral("its worker thread");
        Log::line(QStringLiteral("Blocking HTTP request refused on ") + where + QStringLiteral(": ")
            + request.url.toDisplayString(QUrl::RemoveQuery));
        return HttpResponse::failed(
            HttpResponse::Failure::refused, QStringLiteral("blocking call refused on ") + where);
    }
    ExchangeHost host;
    HttpResponse result;
    bool done = false;
    QEventLoop loop;
    runOn(&host, std::move(request), exchangeSettings(), [&](const HttpResponse &response) {
        result = response;
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    return result;
}

bool HttpClient::isDeliveryThread() const
{
    return m_context && QThread::currentThread() == m_context->thread();
}

QObject *HttpClient::workerContext() const
{
    return m_thread ? m_context : nullptr;
}
