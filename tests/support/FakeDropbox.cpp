#include "support/FakeDropbox.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/FakeHttpServer.h"

namespace
{

QString parentOf(const QString &lower)
{
    const int slash = lower.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QString() : lower.left(slash);
}

QJsonObject bodyOf(const RecordedRequest &request)
{
    return QJsonDocument::fromJson(request.body).object();
}

FakeResponse conflict(const QByteArray &summary, const QJsonObject &error)
{
    const QJsonObject body { { QStringLiteral("error_summary"), QString::fromLatin1(summary) },
        { QStringLiteral("error"), error } };
    return FakeResponse::json(409, QJsonDocument(body).toJson(QJsonDocument::Compact));
}

QJsonObject tagged(const char *tag, const char *inner = nullptr, const QJsonObject &innerValue = {})
{
    QJsonObject object { { QStringLiteral(".tag"), QLatin1String(tag) } };
    if (inner)
        object.insert(QLatin1String(inner), innerValue);
    return object;
}

FakeResponse notFound(const char *kind)
{
    return conflict(QByteArray(kind) + "/not_found/..", tagged(kind, kind, tagged("not_found")));
}

} // namespace

FakeDropbox::FakeDropbox(FakeHttpServer &server, QString token)
    : m_server(server)
    , m_token(std::move(token))
{
    m_children.insert(QString(), {});
    server.handle("POST", QStringLiteral("/2/files/list_folder"),
        [this](const RecordedRequest &r) { return listFolder(r); });
    server.handle("POST", QStringLiteral("/2/files/list_folder/continue"),
        [this](const RecordedRequest &r) { return listContinue(r); });
    server.handle("POST", QStringLiteral("/2/files/download"),
        [this](const RecordedRequest &r) { return download(r); });
    server.handle("POST", QStringLiteral("/2/files/delete_v2"),
        [this](const RecordedRequest &r) { return deleteV2(r); });
}

QUrl FakeDropbox::base() const
{
    return QUrl(m_server.base());
}

QString FakeDropbox::contentHash(const QByteArray &content)
{
    constexpr qsizetype kBlock = 4 * 1024 * 1024;
    QByteArray digests;
    for (qsizetype at = 0; at < content.size(); at += kBlock)
        digests += QCryptographicHash::hash(content.mid(at, kBlock), QCryptographicHash::Sha256);
    return QString::fromLatin1(QCryptographicHash::hash(digests, QCryptographicHash::Sha256).toHex());
}

void FakeDropbox::addFolderLocked(const QString &path)
{
    const QString lower = path.toLower();
    if (lower.isEmpty() || m_items.contains(lower))
        return;
    addFolderLocked(path.left(qMax(0, int(path.lastIndexOf(QLatin1Char('/'))))));
    Item item;
    item.display = path;
    item.folder = true;
    item.id = QStringLiteral("id:f%1").arg(m_nextId++);
    m_items.insert(lower, item);
    m_children[parentOf(lower)].append(lower);
    m_children.insert(lower, {});
}

void FakeDropbox::addFolder(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    addFolderLocked(path);
}

QString FakeDropbox::addFile(const QString &path, const QByteArray &content, const QDateTime &clientModified)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    addFolderLocked(path.left(int(path.lastIndexOf(QLatin1Char('/')))));
    Item item;
    item.display = path;
    item.id = QStringLiteral("id:%1").arg(m_nextId++);
    item.rev = QStringLiteral("a1%1").arg(m_nextId);
    item.content = content;
    item.clientModified = clientModified;
    const QString lower = path.toLower();
    if (!m_items.contains(lower))
        m_children[parentOf(lower)].append(lower);
    m_items.insert(lower, item);
    return item.id;
}

void FakeDropbox::touch(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_items.find(path.toLower());
    if (it != m_items.end())
        it->rev += QLatin1Char('b');
}

void FakeDropbox::changeAfterDownload(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_changeAfterDownload.append(path.toLower());
}

void FakeDropbox::remove(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const QString lower = path.toLower();
    m_items.remove(lower);
    m_children[parentOf(lower)].removeAll(lower);
}

bool FakeDropbox::exists(const QString &path) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_items.contains(path.toLower());
}

void FakeDropbox::setPageSize(int size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pageSize = size;
}

void FakeDropbox::shapeDownloads(std::function<void(FakeResponse &answer)> shape)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_shapeDownload = std::move(shape);
}

void FakeDropbox::setOmitDisplayPaths(bool omit)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_omitDisplay = omit;
}

QStringList FakeDropbox::listedPaths() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_listed;
}

QList<int> FakeDropbox::pageSizes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pages;
}

QStringList FakeDropbox::downloadedPaths() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_downloaded;
}

bool FakeDropbox::authorized(const RecordedRequest &request) const
{
    return request.header("Authorization") == "Bearer " + m_token.toUtf8();
}

QByteArray FakeDropbox::entryJson(const Item &item) const
{
    QJsonObject entry { { QStringLiteral(".tag"),
                            item.folder ? QStringLiteral("folder") : QStringLiteral("file") },
        { QStringLiteral("name"), item.display.section(QLatin1Char('/'), -1) },
        { QStringLiteral("id"), item.id }, { QStringLiteral("path_lower"), item.display.toLower() } };
    if (!m_omitDisplay)
        entry.insert(QStringLiteral("path_display"), item.display);
    if (!item.folder) {
        const QString date = item.clientModified.toString(Qt::ISODate);
        entry.insert(QStringLiteral("rev"), item.rev);
        entry.insert(QStringLiteral("size"), qint64(item.content.size()));
        entry.insert(QStringLiteral("client_modified"), date);
        entry.insert(QStringLiteral("server_modified"), date);
        entry.insert(QStringLiteral("content_hash"), contentHash(item.content));
    }
    return QJsonDocument(entry).toJson(QJsonDocument::Compact);
}

FakeResponse FakeDropbox::page(const QString &folderLower, int offset)
{
    const QStringList children = m_children.value(folderLower);
    const int end = qMin(int(children.size()), offset + m_pageSize);
    QJsonArray entries;
    for (int i = offset; i < end; ++i)
        entries.append(QJsonDocument::fromJson(entryJson(m_items.value(children.at(i)))).object());
    m_pages.append(end - offset);
    const QJsonObject body { { QStringLiteral("entries"), entries },
        { QStringLiteral("cursor"), QStringLiteral("c|%1|%2").arg(folderLower).arg(end) },
        { QStringLiteral("has_more"), end < children.size() } };
    return FakeResponse::json(200, QJsonDocument(body).toJson(QJsonDocument::Compact));
}

FakeResponse FakeDropbox::listFolder(const RecordedRequest &request)
{
    if (!authorized(request))
        return FakeResponse::json(
            401, R"({"error_summary":"invalid_access_token/..","error":{".tag":"invalid_access_token"}})");
    std::lock_guard<std::mutex> lock(m_mutex);
    const QString path = bodyOf(request).value(QStringLiteral("path")).toString();
    m_listed.append(path);
    const QString lower = path.toLower();
    if (!m_children.contains(lower))
        return notFound("path");
    return page(lower, 0);
}

FakeResponse FakeDropbox::listContinue(const RecordedRequest &request)
{
    if (!authorized(request))
        return FakeResponse::json(
            401, R"({"error_summary":"expired_access_token/..","error":{".tag":"expired_access_token"}})");
    std::lock_guard<std::mutex> lock(m_mutex);
    const QStringList parts
        = bodyOf(request).value(QStringLiteral("cursor")).toString().split(QLatin1Char('|'));
    if (parts.size() != 3)
        return conflict("reset/..", tagged("reset"));
    return page(parts.at(1), parts.at(2).toInt());
}

FakeResponse FakeDropbox::download(const RecordedRequest &request)
{
    if (!authorized(request))
        return FakeResponse::json(
            401, R"({"error_summary":"invalid_access_token/..","error":{".tag":"invalid_access_token"}})");
    // The content endpoints refuse a form body, which is what a client's default type would send.
    if (!request.header("Content-Type").isEmpty()
        && !request.header("Content-Type").startsWith("application/octet-stream"))
        return FakeResponse::text(
            400, "Error in call to API function \"files/download\": Bad HTTP \"Content-Type\" header");
    const QByteArray argument = request.header("Dropbox-API-Arg");
    for (const char c : argument) {
        if (uchar(c) >= 0x7F)
            return FakeResponse::text(400, "Dropbox-API-Arg must be ASCII");
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const QString path = QJsonDocument::fromJson(argument).object().value(QStringLiteral("path")).toString();
    m_downloaded.append(path);
    const auto it = m_items.find(path.toLower());
    if (it == m_items.end() || it->folder)
        return notFound("path");
    if (m_changeAfterDownload.contains(path.toLower()))
        it->rev += QLatin1Char('c');
    FakeResponse response;
    response.status = 200;
    response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/octet-stream")));
    response.headers.append(qMakePair(QByteArray("Dropbox-API-Result"), QByteArray("{}")));
    response.body = it->content;
    if (m_shapeDownload)
        m_shapeDownload(response);
    return response;
}

FakeResponse FakeDropbox::deleteV2(const RecordedRequest &request)
{
    if (!authorized(request))
        return FakeResponse::json(
            401, R"({"error_summary":"invalid_access_token/..","error":{".tag":"invalid_access_token"}})");
    std::lock_guard<std::mutex> lock(m_mutex);
    const QJsonObject body = bodyOf(request);
    const QString lower = body.value(QStringLiteral("path")).toString().toLower();
    const auto it = m_items.constFind(lower);
    if (it == m_items.cend())
        return notFound("path_lookup");
    const QString parentRev = body.value(QStringLiteral("parent_rev")).toString();
    if (!parentRev.isEmpty() && parentRev != it->rev)
        return conflict("path_write/conflict/file/..",
            tagged("path_write", "path_write", tagged("conflict", "conflict", tagged("file"))));
    const QByteArray metadata = entryJson(*it);
    m_items.remove(lower);
    m_children[parentOf(lower)].removeAll(lower);
    return FakeResponse::json(200, "{\"metadata\":" + metadata + "}");
}
