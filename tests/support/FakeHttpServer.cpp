#include "support/FakeHttpServer.h"

#include <QMetaObject>
#include <QThread>

#include "support/FakeHttpServerWorker.h"

namespace
{

QString routeKey(const QByteArray &method, const QString &path)
{
    return QString::fromLatin1(method) + QLatin1Char(' ') + path;
}

QString formDecoded(QByteArray bytes)
{
    bytes.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

} // namespace

FakeResponse FakeResponse::typed(int status, const QByteArray &type, const QByteArray &body)
{
    FakeResponse response;
    response.status = status;
    response.headers.append(qMakePair(QByteArray("Content-Type"), type));
    response.body = body;
    return response;
}

FakeResponse FakeResponse::json(int status, const QByteArray &body)
{
    return typed(status, "application/json", body);
}

FakeResponse FakeResponse::text(int status, const QByteArray &body)
{
    return typed(status, "text/plain", body);
}

FakeResponse FakeResponse::silence()
{
    FakeResponse response;
    response.neverAnswer = true;
    return response;
}

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    for (const auto &pair : headers) {
        if (pair.first.compare(name, Qt::CaseInsensitive) == 0)
            return pair.second;
    }
    return {};
}

QMap<QString, QString> RecordedRequest::form() const
{
    QMap<QString, QString> values;
    for (const QByteArray &pair : body.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        values.insert(
            formDecoded(pair.left(equals)), equals < 0 ? QString() : formDecoded(pair.mid(equals + 1)));
    }
    return values;
}

QString RecordedRequest::queryValue(const QString &key) const
{
    return query.queryItemValue(key, QUrl::FullyDecoded);
}

FakeHttpServer::FakeHttpServer()
    : m_thread(new QThread)
    , m_worker(new FakeHttpServerWorker(this))
{
    m_thread->setObjectName(QStringLiteral("FakeHttpServer"));
    m_worker->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();
    QMetaObject::invokeMethod(
        m_worker, [this] { m_port = m_worker->listen(); }, Qt::BlockingQueuedConnection);
}

FakeHttpServer::~FakeHttpServer()
{
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

QUrl FakeHttpServer::url(const QString &path) const
{
    return QUrl(base() + path);
}

QString FakeHttpServer::base() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void FakeHttpServer::script(const QByteArray &method, const QString &path, QList<FakeResponse> answers)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_routes[routeKey(method, path)] = Route { std::move(answers), {} };
}

void FakeHttpServer::handle(const QByteArray &method, const QString &path, Handler handler)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_routes[routeKey(method, path)] = Route { {}, std::move(handler) };
}

int FakeHttpServer::hits(const QString &path) const
{
    return int(requests(path).size());
}

int FakeHttpServer::totalHits() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_requests.size());
}

QList<RecordedRequest> FakeHttpServer::requests(const QString &path) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (path.isNull())
        return m_requests;
    QList<RecordedRequest> matching;
    for (const RecordedRequest &request : m_requests) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

FakeResponse FakeHttpServer::answer(const RecordedRequest &request)
{
    Handler handler;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.append(request);
        auto route = m_routes.find(routeKey(request.method, request.path));
        if (route == m_routes.end())
            return FakeResponse::text(404, "no such route");
        if (!route->handler) {
            if (route->answers.isEmpty())
                return FakeResponse::text(500, "no answer scripted");
            return route->answers.size() > 1 ? route->answers.takeFirst() : route->answers.first();
        }
        handler = route->handler;
    }
    return handler(request);
}
