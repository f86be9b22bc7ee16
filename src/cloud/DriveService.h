// The one Drive v3 client of the process: file lists, single files and updates, sent through
// HttpClient with the retry policy on and answered on the GUI thread. Every sender sets the
// authorizer first; the service keeps the last one set.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QJsonObject>
#include <QString>
#include <QUrl>

#include "cloud/DriveFileJson.h"
#include "platform/HttpResponse.h"
#include "platform/RetryPolicy.h"

class HttpClient;
class TokenSource;

class DriveService
{
public:
    struct Settings {
        QString apiBase;
        std::optional<RetryPolicy> retry = RetryPolicy {};
        int transferTimeoutMs = 60000;
        // The configured Drive address and transfer timeout.
        static Settings fromConfiguration();
    };

    struct ListQuery {
        QString q;
        QString fields;
        // 0 leaves the page size to the server.
        int pageSize = 0;
        QString pageToken;
    };

    // `list` is empty when the exchange failed or the answer was not a file list.
    using ListCompletion
        = std::function<void(const std::optional<DriveFileList> &list, const HttpResponse &)>;
    using FileCompletion = std::function<void(const std::shared_ptr<DriveFile> &file, const HttpResponse &)>;

    explicit DriveService(Settings settings);
    ~DriveService();
    DriveService(const DriveService &) = delete;
    DriveService &operator=(const DriveService &) = delete;

    // Made on first use (GUI thread) from the configuration and never replaced.
    static DriveService &shared();

    QString apiBase() const { return m_settings.apiBase; }
    void setAuthorizer(const std::shared_ptr<TokenSource> &tokens);
    std::shared_ptr<TokenSource> authorizer() const { return m_tokens; }

    // GET {api}/drive/v3/files.
    void listFiles(const ListQuery &query, ListCompletion completion);
    // GET {api}/drive/v3/files/{id}?fields=...
    void getFile(const QString &fileId, const QString &fields, FileCompletion completion);
    // PATCH {api}/drive/v3/files/{id} with `body` as JSON.
    void updateFile(const QString &fileId, const QJsonObject &body, FileCompletion completion);

    QUrl filesUrl(const QString &fileId = QString()) const;
    // A Drive identifier inside single quotes of a search text: "\" and "'" escaped.
    static QString quoted(const QString &identifier);

private:
    HttpClient &client();

    Settings m_settings;
    std::shared_ptr<TokenSource> m_tokens;
    std::unique_ptr<HttpClient> m_client;
    // Clients of earlier authorizers still deliver the answers they owe.
    std::vector<std::unique_ptr<HttpClient>> m_retired;
};
