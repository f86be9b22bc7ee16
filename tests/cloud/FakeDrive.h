// A Drive v3 stand-in on a FakeHttpServer: folders and files by parent, files.list with the
// search text's parent and folder filter, pages by pageSize and pageToken, files.get, and
// answers that fail or never come for chosen folders.
#pragma once

#include <mutex>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "cloud/DriveService.h"
#include "support/FakeHttpServer.h"

class FakeDrive
{
public:
    static constexpr const char *kFolder = "application/vnd.google-apps.folder";

    // A Drive service on `server`; retries, when on, follow at once.
    static DriveService::Settings serviceSettings(
        const FakeHttpServer &server, int timeoutMs = 5000, bool retry = false)
    {
        DriveService::Settings settings;
        settings.apiBase = server.base();
        settings.retry.reset();
        if (retry) {
            RetryPolicy policy;
            policy.sleeper = [](int, std::function<void()> resume) { resume(); };
            settings.retry = policy;
        }
        settings.transferTimeoutMs = timeoutMs;
        return settings;
    }

    explicit FakeDrive(FakeHttpServer &server)
    {
        server.handle("GET", QStringLiteral("/drive/v3/files"),
            [this](const RecordedRequest &request) { return list(request); });
    }

    void addFolder(const QString &parent, const QString &id, const QString &name)
    {
        add(parent,
            QJsonObject { { "id", id }, { "name", name }, { "mimeType", kFolder },
                { "parents", QJsonArray { parent } } });
    }
    // `parent` "root" stands for the real root identifier `rootId`.
    void add(const QString &parent, QJsonObject file)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!file.contains(QStringLiteral("parents")))
            file.insert(
                QStringLiteral("parents"), QJsonArray { parent == QLatin1String("root") ? rootId : parent });
        else if (parent == QLatin1String("root"))
            file.insert(QStringLiteral("parents"), QJsonArray { rootId });
        m_children[parent].append(file);
    }
    void failFolder(const QString &id, FakeResponse answer)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failures.insert(id, answer);
    }
    // Pages with a token but no files before the real ones.
    void addEmptyPagesBefore(const QString &id, int count)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_emptyPages.insert(id, count);
    }

    static QString parentOf(const QString &q)
    {
        static const QRegularExpression pattern(QStringLiteral("'((?:[^'\\\\]|\\\\.)*)' in parents"));
        QString id = pattern.match(q).captured(1);
        id.replace(QStringLiteral("\\'"), QStringLiteral("'"));
        id.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        return id;
    }

    QString rootId = QStringLiteral("0AROOT");
    int defaultPageSize = 100;

private:
    FakeResponse list(const RecordedRequest &request)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const QString q = request.queryValue(QStringLiteral("q"));
        QString parent = parentOf(q);
        if (parent == rootId)
            parent = QStringLiteral("root");
        if (m_failures.contains(parent))
            return m_failures.value(parent);
        const bool foldersOnly = q.contains(QLatin1String("mimeType='application/vnd.google-apps.folder'"));
        QList<QJsonObject> matching;
        for (const QJsonObject &file : m_children.value(parent)) {
            if (!foldersOnly || file.value(QStringLiteral("mimeType")).toString() == QLatin1String(kFolder))
                matching.append(file);
        }
        const QString token = request.queryValue(QStringLiteral("pageToken"));
        const int empties = m_emptyPages.value(parent);
        int page = token.startsWith(QLatin1String("p")) ? token.mid(1).toInt() : 0;
        QJsonObject answer { { "kind", "drive#fileList" } };
        if (page < empties) {
            answer.insert(QStringLiteral("files"), QJsonArray {});
            answer.insert(QStringLiteral("nextPageToken"), QStringLiteral("p%1").arg(page + 1));
            return FakeResponse::json(200, QJsonDocument(answer).toJson());
        }
        const int size = request.queryValue(QStringLiteral("pageSize")).isEmpty()
            ? defaultPageSize
            : request.queryValue(QStringLiteral("pageSize")).toInt();
        const int start = (page - empties) * size;
        QJsonArray files;
        for (int i = start; i < std::min<int>(start + size, matching.size()); ++i)
            files.append(matching.at(i));
        answer.insert(QStringLiteral("files"), files);
        if (start + size < matching.size())
            answer.insert(QStringLiteral("nextPageToken"), QStringLiteral("p%1").arg(page + 1));
        return FakeResponse::json(200, QJsonDocument(answer).toJson());
    }

    std::mutex m_mutex;
    QMap<QString, QList<QJsonObject>> m_children;
    QMap<QString, FakeResponse> m_failures;
    QMap<QString, int> m_emptyPages;
};
