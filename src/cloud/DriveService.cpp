#include "cloud/DriveService.h"

#include <QJsonDocument>

#include "platform/CloudConfiguration.h"
#include "platform/HttpClient.h"
#include "platform/HttpRequest.h"
#include "platform/Log.h"

namespace
{

QString encoded(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

void addItem(QStringList &items, const char *key, const QString &value)
{
    if (!value.isEmpty())
        items.append(QLatin1String(key) + QLatin1Char('=') + encoded(value));
}

std::shared_ptr<DriveFile> fileOf(const HttpResponse &response)
{
    if (!response.ok())
        return nullptr;
    const QJsonDocument document = QJsonDocument::fromJson(response.body);
    if (!document.isObject())
        return nullptr;
    return DriveFileJson::parseFile(document.object());
}

} // namespace

DriveService::Settings DriveService::Settings::fromConfiguration()
{
    Settings settings;
    settings.apiBase = CloudConfiguration::googleApiBase();
    settings.transferTimeoutMs = CloudConfiguration::transferTimeoutMs();
    return settings;
}

DriveService::DriveService(Settings settings)
    : m_settings(std::move(settings))
{
}

DriveService::~DriveService() = default;

DriveService &DriveService::shared()
{
    static DriveService service(Settings::fromConfiguration());
    return service;
}

void DriveService::setAuthorizer(const std::shared_ptr<TokenSource> &tokens)
{
    if (tokens == m_tokens && m_client)
        return;
    m_tokens = tokens;
    if (m_client)
        m_retired.push_back(std::move(m_client));
}

HttpClient &DriveService::client()
{
    if (!m_client) {
        HttpClient::Options options;
        options.mode = HttpClient::Mode::guiThread;
        options.tokens = m_tokens;
        options.retry = m_settings.retry;
        options.transferTimeoutMs = m_settings.transferTimeoutMs;
        m_client = std::make_unique<HttpClient>(std::move(options));
    }
    return *m_client;
}

QUrl DriveService::filesUrl(const QString &fileId) const
{
    QString base = m_settings.apiBase;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    QString url = base + QStringLiteral("/drive/v3/files");
    if (!fileId.isEmpty())
        url += QLatin1Char('/') + encoded(fileId);
    return QUrl(url, QUrl::StrictMode);
}

QString DriveService::quoted(const QString &identifier)
{
    QString text = identifier;
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return text;
}

void DriveService::listFiles(const ListQuery &query, ListCompletion completion)
{
    QUrl url = filesUrl();
    QStringList items;
    addItem(items, "q", query.q);
    addItem(items, "fields", query.fields);
    if (query.pageSize > 0)
        addItem(items, "pageSize", QString::number(query.pageSize));
    addItem(items, "pageToken", query.pageToken);
    url.setQuery(items.join(QLatin1Char('&')), QUrl::StrictMode);
    client().send(HttpRequest::get(url), [completion = std::move(completion)](const HttpResponse &response) {
        std::optional<DriveFileList> list;
        if (response.ok())
            list = DriveFileJson::parseFileList(response.body);
        if (!response.ok())
            Log::line(QStringLiteral("Drive file list failed: ") + response.describe());
        else if (!list)
            Log::line(QStringLiteral("Drive answer is not a file list"));
        completion(list, response);
    });
}

void DriveService::getFile(const QString &fileId, const QString &fields, FileCompletion completion)
{
    QUrl url = filesUrl(fileId);
    QStringList items;
    addItem(items, "fields", fields);
    url.setQuery(items.join(QLatin1Char('&')), QUrl::StrictMode);
    client().send(HttpRequest::get(url), [completion = std::move(completion)](const HttpResponse &response) {
        completion(fileOf(response), response);
    });
}

void DriveService::updateFile(const QString &fileId, const QJsonObject &body, FileCompletion completion)
{
    HttpRequest request;
    request.method = "PATCH";
    request.url = filesUrl(fileId);
    request.body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    request.contentType = "application/json";
    client().send(std::move(request), [completion = std::move(completion)](const HttpResponse &response) {
        completion(fileOf(response), response);
    });
}
