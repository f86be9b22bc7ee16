// A Dropbox account on a FakeHttpServer, following the provider's public HTTP API: list_folder and
// its continuation in pages, download with its argument header, delete_v2 with parent_rev, and
// bearer-token checks. Folders and files are kept by display path; lookups ignore case.
#pragma once

#include <functional>
#include <mutex>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QUrl>

class FakeHttpServer;
struct FakeResponse;
struct RecordedRequest;

class FakeDropbox
{
public:
    explicit FakeDropbox(FakeHttpServer &server, QString token = QStringLiteral("token-1"));

    QUrl base() const;
    QString token() const { return m_token; }

    // Parent folders are made as needed. Display paths start with "/".
    void addFolder(const QString &path);
    // Returns the file's identifier.
    QString addFile(const QString &path, const QByteArray &content,
        const QDateTime &clientModified = QDateTime(QDate(2020, 1, 1), QTime(12, 0), QTimeZone::utc()));
    // Changes the file's revision, as an edit by another client would.
    void touch(const QString &path);
    void remove(const QString &path);
    // The file gets a new revision right after it is downloaded, as if another client edited it.
    void changeAfterDownload(const QString &path);
    bool exists(const QString &path) const;
    // Entries per page (1000 unless set).
    void setPageSize(int size);
    // Leave out path_display of every entry.
    void setOmitDisplayPaths(bool omit);
    // Every download answer passes through `shape` before it is sent (a broken or lying server).
    void shapeDownloads(std::function<void(FakeResponse &answer)> shape);

    // "path" of every list_folder call, in order.
    QStringList listedPaths() const;
    // Entries in each answered page, in order.
    QList<int> pageSizes() const;
    // Decoded "path" of every download.
    QStringList downloadedPaths() const;

    // Dropbox's content hash: SHA-256 over the SHA-256 digests of 4 MiB blocks, hex.
    static QString contentHash(const QByteArray &content);

private:
    struct Item {
        QString display;
        bool folder = false;
        QString id;
        QString rev;
        QByteArray content;
        QDateTime clientModified;
    };

    FakeResponse listFolder(const RecordedRequest &request);
    FakeResponse listContinue(const RecordedRequest &request);
    FakeResponse page(const QString &folderLower, int offset);
    FakeResponse download(const RecordedRequest &request);
    FakeResponse deleteV2(const RecordedRequest &request);
    bool authorized(const RecordedRequest &request) const;
    QByteArray entryJson(const Item &item) const;
    void addFolderLocked(const QString &path);

    FakeHttpServer &m_server;
    QString m_token;
    mutable std::mutex m_mutex;
    // Lower-case path -> item, and each folder's children in insertion order.
    QMap<QString, Item> m_items;
    QMap<QString, QStringList> m_children;
    int m_pageSize = 1000;
    int m_nextId = 1;
    bool m_omitDisplay = false;
    std::function<void(FakeResponse &)> m_shapeDownload;
    QStringList m_changeAfterDownload;
    QStringList m_listed;
    QList<int> m_pages;
    QStringList m_downloaded;
};
