#include "cloud/DropboxApi.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "app/MediaDownloader.h"
#include "cloud/DropboxContentHash.h"
#include "platform/CloudConfiguration.h"
#include "platform/HttpClient.h"
#include "platform/TokenSource.h"

namespace
{

constexpr int kPageLimit = 1000;
// A page of a thousand entries with media information is a few hundred kilobytes, a few megabytes
// with the longest paths; a page past this is not a listing, and is not held and parsed.
constexpr qint64 kMaxPageBytes = 16LL * 1024 * 1024;

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

DropboxEntry::Kind kindOf(const QString &tag)
{
    if (tag == QLatin1String("file"))
        return DropboxEntry::Kind::file;
    if (tag == QLatin1String("folder"))
        return DropboxEntry::Kind::folder;
    if (tag == QLatin1String("deleted"))
        return DropboxEntry::Kind::deleted;
    return DropboxEntry::Kind::other;
}

QDateTime utcDate(const QJsonValue &value)
{
    QDateTime date = QDateTime::fromString(value.toString(), Qt::ISODate);
    return date.isValid() ? date.toUTC() : QDateTime();
}

// Waiting there would stop the very thread that delivers the listing's answers.
HttpResponse refusedOnWorker()
{
    return HttpResponse::failed(
        HttpResponse::Failure::refused, QStringLiteral("blocking call refused on the listing thread"));
}

} // namespace

QUrl DropboxApi::endpoint(const QUrl &base, const char *route)
{
    QUrl url = base;
    QString path = url.path();
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QLatin1String(route));
    return url;
}

DropboxApi::Bases DropboxApi::configuredBases()
{
    return Bases { QUrl(CloudConfiguration::dropboxApiBase()),
        QUrl(CloudConfiguration::dropboxContentBase()) };
}

DropboxApi::DropboxApi(
    Bases bases, std::shared_ptr<TokenSource> tokens, int transferTimeoutMs, RetryPolicy retry)
    : m_bases(std::move(bases))
    , m_transferTimeoutMs(transferTimeoutMs)
{
    HttpClient::Options options;
    options.tokens = std::move(tokens);
    options.retry = std::move(retry);
    options.transferTimeoutMs = transferTimeoutMs;
    options.mode = HttpClient::Mode::workerThread;
    m_worker = std::make_unique<HttpClient>(options);
    options.mode = HttpClient::Mode::blocking;
    m_blocking = std::make_unique<HttpClient>(options);
}

DropboxApi::~DropboxApi() = default;

QObject *DropboxApi::workerContext() const
{
    return m_worker->workerContext();
}

bool DropboxApi::isWorkerThread() const
{
    return m_worker->isDeliveryThread();
}

void DropboxApi::listFolder(const QString &path, PageCompletion completion)
{
    sendPage(listFolderRequest(m_bases.api, path), std::move(completion));
}

void DropboxApi::listFolderContinue(const QString &cursor, PageCompletion completion)
{
    sendPage(listFolderContinueRequest(m_bases.api, cursor), std::move(completion));
}

void DropboxApi::sendPage(HttpRequest request, PageCompletion completion)
{
    request.maxBodyBytes = kMaxPageBytes;
    m_worker->send(std::move(request), [completion = std::move(completion)](const HttpResponse &response) {
        if (!response.ok()) {
            completion(std::nullopt, response.describe());
            return;
        }
        const std::optional<DropboxListPage> page = parseListPage(response.body);
        completion(page, page ? QString() : QStringLiteral("unreadable list_folder answer"));
    });
}

HttpResponse DropboxApi::download(const QString &path, const QString &target, qint64 listedBytes,
    const QString &contentHash, const std::atomic<bool> *stop)
{
    if (isWorkerThread())
        return refusedOnWorker();
    HttpRequest request = downloadRequest(m_bases.content, path);
    request.stop = stop;
    request.limitToListedSize(listedBytes, m_transferTimeoutMs);
    // The provider's sizes are exact and its copies the stored bytes, so both must agree.
    const WholeCopy whole { listedBytes, contentHash, std::make_shared<DropboxContentHash>() };
    return MediaDownloader::saveTo(*m_blocking, std::move(request), target, whole);
}

HttpResponse DropboxApi::deleteFile(const QString &path, const QString &rev)
{
    if (isWorkerThread())
        return refusedOnWorker();
    return m_blocking->sendBlocking(deleteRequest(m_bases.api, path, rev));
}

HttpRequest DropboxApi::listFolderRequest(const QUrl &api, const QString &path)
{
    const QJsonObject arguments { { QStringLiteral("path"), path }, { QStringLiteral("recursive"), false },
        { QStringLiteral("include_media_info"), true }, { QStringLiteral("include_deleted"), false },
        { QStringLiteral("include_has_explicit_shared_members"), false },
        { QStringLiteral("include_mounted_folders"), true }, { QStringLiteral("limit"), kPageLimit } };
    return HttpRequest::postJson(endpoint(api, "/2/files/list_folder"), compact(arguments));
}

HttpRequest DropboxApi::listFolderContinueRequest(const QUrl &api, const QString &cursor)
{
    return HttpRequest::postJson(endpoint(api, "/2/files/list_folder/continue"),
        compact(QJsonObject { { QStringLiteral("cursor"), cursor } }));
}

HttpRequest DropboxApi::downloadRequest(const QUrl &content, const QString &path)
{
    HttpRequest request;
    request.method = "POST";
    request.url = endpoint(content, "/2/files/download");
    // The content endpoints take their arguments in this header; a body or a form content type
    // makes them answer 400.
    request.headers.append(
        { "Dropbox-API-Arg", headerSafeJson(QJsonObject { { QStringLiteral("path"), path } }) });
    return request;
}

HttpRequest DropboxApi::deleteRequest(const QUrl &api, const QString &path, const QString &rev)
{
    QJsonObject arguments { { QStringLiteral("path"), path } };
    if (!rev.isEmpty())
        arguments.insert(QStringLiteral("parent_rev"), rev);
    return HttpRequest::postJson(endpoint(api, "/2/files/delete_v2"), compact(arguments));
}

QByteArray DropboxApi::headerSafeJson(const QJsonObject &object)
{
    const QString text = QString::fromUtf8(compact(object));
    QByteArray out;
    out.reserve(text.size());
    // QString holds UTF-16, so characters beyond the basic plane already are surrogate pairs.
    for (const QChar c : text) {
        if (c.unicode() < 0x7F) {
            out.append(char(c.unicode()));
            continue;
        }
        out.append("\\u");
        out.append(QByteArray::number(c.unicode(), 16).rightJustified(4, '0'));
    }
    return out;
}

DropboxEntry DropboxApi::parseEntry(const QJsonObject &object)
{
    DropboxEntry entry;
    entry.kind = kindOf(object.value(QStringLiteral(".tag")).toString());
    entry.id = object.value(QStringLiteral("id")).toString();
    entry.name = object.value(QStringLiteral("name")).toString();
    entry.pathLower = object.value(QStringLiteral("path_lower")).toString();
    entry.pathDisplay = object.value(QStringLiteral("path_display")).toString();
    entry.rev = object.value(QStringLiteral("rev")).toString();
    const double size = object.value(QStringLiteral("size")).toDouble(0.0);
    entry.size = size > 0.0 ? quint64(size) : 0;
    entry.clientModified = utcDate(object.value(QStringLiteral("client_modified")));
    entry.serverModified = utcDate(object.value(QStringLiteral("server_modified")));
    entry.contentHash = object.value(QStringLiteral("content_hash")).toString();
    return entry;
}

std::optional<DropboxListPage> DropboxApi::parseListPage(const QByteArray &body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue entries = object.value(QStringLiteral("entries"));
    if (!entries.isArray())
        return std::nullopt;
    DropboxListPage page;
    for (const QJsonValue &value : entries.toArray())
        page.entries.append(parseEntry(value.toObject()));
    page.cursor = object.value(QStringLiteral("cursor")).toString();
    page.hasMore = object.value(QStringLiteral("has_more")).toBool(false);
    // A page that promises more without a way to ask for it would end the folder silently short.
    if (page.hasMore && page.cursor.isEmpty())
        return std::nullopt;
    return page;
}

DropboxApi::DeleteOutcome DropboxApi::deleteOutcome(const HttpResponse &response)
{
    if (response.ok())
        return DeleteOutcome::deleted;
    if (response.failure != HttpResponse::Failure::status || response.status != 409)
        return DeleteOutcome::failed;
    // Only "nothing at this path" means gone; a changed revision (path_write/conflict) or any other
    // refusal leaves the file where it is.
    const QJsonObject error = response.json().value(QStringLiteral("error")).toObject();
    const auto tagged = [&error, &response](const QString &tag, const QString &inner) {
        return error.isEmpty() ? response.providerError().startsWith(tag + QLatin1Char('/') + inner)
                               : error.value(QStringLiteral(".tag")).toString() == tag
                && error.value(tag).toObject().value(QStringLiteral(".tag")).toString() == inner;
    };
    if (tagged(QStringLiteral("path_lookup"), QStringLiteral("not_found")))
        return DeleteOutcome::notFound;
    return tagged(QStringLiteral("path_write"), QStringLiteral("conflict")) ? DeleteOutcome::changed
                                                                            : DeleteOutcome::failed;
}
