#include "app/MediaDownloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include "platform/AppFolders.h"
#include "platform/HttpClient.h"
#include "platform/Log.h"
#include "platform/LoopbackGuard.h"
#include "platform/PrivateFiles.h"

namespace
{

constexpr qsizetype kMaxNameBytes = 255;

} // namespace

std::optional<QString> MediaDownloader::sanitizedFileName(const QString &name)
{
    QString safe = name;
    safe.replace(QLatin1Char('/'), QLatin1Char('_'));
    safe.replace(QChar(0), QLatin1Char('_'));
    while (safe.toUtf8().size() > kMaxNameBytes)
        safe.chop(1);
    if (safe.isEmpty() || safe == QLatin1String(".") || safe == QLatin1String(".."))
        return std::nullopt;
    return safe;
}

std::optional<QString> MediaDownloader::targetPath(const QString &folder, const QString &name)
{
    const std::optional<QString> safe = sanitizedFileName(name);
    if (!safe || folder.isEmpty())
        return std::nullopt;
    const QString cleanFolder = QDir::cleanPath(folder);
    const QString path = QDir::cleanPath(cleanFolder + QLatin1Char('/') + *safe);
    if (QFileInfo(path).absolutePath() != QFileInfo(cleanFolder).absoluteFilePath())
        return std::nullopt;
    return path;
}

HttpResponse MediaDownloader::saveTo(HttpClient &client, HttpRequest request, const QString &path)
{
    QFile::remove(path);
    QSaveFile file(path);
    if (!PrivateFiles::open(file)) {
        Log::line(QStringLiteral("Cannot write the downloaded copy ") + path);
        return HttpResponse::failed(HttpResponse::Failure::local, file.errorString());
    }
    request.sink = &file;
    HttpResponse response = client.sendBlocking(std::move(request));
    if (response.ok() && !file.commit()) {
        Log::line(QStringLiteral("Cannot write the downloaded copy ") + path);
        return HttpResponse::failed(HttpResponse::Failure::local, file.errorString());
    }
    if (!response.ok())
        file.cancelWriting();
    return response;
}

std::optional<QString> MediaDownloader::download(const QString &url, const QString &folder,
    const QString &name, qint64 listedBytes, const std::atomic<bool> *stop, int timeoutMs)
{
    const QUrl parsed(url, QUrl::StrictMode);
    const std::optional<QString> path = targetPath(folder, name);
    if (!path)
        return std::nullopt;
    QFile::remove(*path);
    if (!LoopbackGuard::isSecureOrLoopbackUrl(parsed)) {
        Log::line(QStringLiteral("Download refused, not an https address: ")
            + parsed.toDisplayString(QUrl::RemoveQuery));
        return std::nullopt;
    }
    if (stop && stop->load())
        return std::nullopt;
    AppFolders::ensureFolder(folder);
    HttpClient client(HttpClient::Options { HttpClient::Mode::blocking, {}, {}, timeoutMs });
    HttpRequest request = HttpRequest::get(parsed);
    request.authorize = false;
    request.stop = stop;
    request.limitToListedSize(listedBytes, timeoutMs);
    const HttpResponse response = saveTo(client, std::move(request), *path);
    if (!response.ok()) {
        Log::line(QStringLiteral("Download failed: ") + parsed.toDisplayString(QUrl::RemoveQuery)
            + QLatin1Char(' ') + response.describe());
        return std::nullopt;
    }
    return path;
}

std::optional<QString> MediaDownloader::downloadDriveImage(const QString &thumbnailLink,
    const QString &folderId, const QString &folderName, const QString &folder, qint64 listedBytes,
    const std::atomic<bool> *stop, int timeoutMs)
{
    if (thumbnailLink.isEmpty())
        return std::nullopt;
    QString url = thumbnailLink;
    url.remove(QStringLiteral("=s220"));
    const std::optional<QString> path
        = download(url, folder, folderId + QLatin1Char('_') + folderName, listedBytes, stop, timeoutMs);
    if (!path) {
        Log::line(QStringLiteral("Download failed: ") + folderName);
        return std::nullopt;
    }
    QImageReader reader(*path);
    const QSize size = reader.size();
    if (!reader.canRead()) {
        Log::line(QStringLiteral("Downloaded file is no readable image: ") + folderName);
        return std::nullopt;
    }
    if (size.width() <= 0 || size.height() <= 0) {
        Log::line(QStringLiteral("Downloaded image has no size: ") + folderName);
        return std::nullopt;
    }
    return path;
}
