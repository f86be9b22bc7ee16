#include "app/MediaDownloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include "platform/AppFolders.h"
#include "platform/HttpClient.h"
#include "platform/Log.h"

namespace
{

constexpr qsizetype kMaxNameBytes = 255;

bool stopped(const std::atomic<bool> *stop)
{
    return stop && stop->load();
}

bool writeAtomically(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        Log::line(QStringLiteral("exception in urldata write: ") + path);
        return false;
    }
    return true;
}

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

std::optional<QByteArray> MediaDownloader::fetch(
    const QUrl &url, const std::atomic<bool> *stop, int timeoutMs)
{
    if (!url.isValid() || url.isRelative() || stopped(stop))
        return std::nullopt;
    // The timeout counts time without any bytes arriving, so a large file on a slow link that keeps
    // coming is never cut off, while a server that stops answering is.
    HttpClient client(HttpClient::Options { HttpClient::Mode::blocking, {}, {}, timeoutMs });
    HttpRequest request = HttpRequest::get(url);
    request.authorize = false;
    request.deadlineMs = 0;
    request.stop = stop;
    const HttpResponse response = client.sendBlocking(std::move(request));
    if (!response.ok()) {
        Log::line(QStringLiteral("Download failed: ") + url.toDisplayString() + QStringLiteral(" ")
            + response.describe());
        return std::nullopt;
    }
    return response.body;
}

std::optional<QString> MediaDownloader::download(const QString &url, const QString &folder,
    const QString &name, const std::atomic<bool> *stop, int timeoutMs)
{
    const QUrl parsed(url, QUrl::StrictMode);
    const std::optional<QString> path = targetPath(folder, name);
    if (!parsed.isValid() || !path)
        return std::nullopt;
    QFile::remove(*path);
    const std::optional<QByteArray> content = fetch(parsed, stop, timeoutMs);
    if (!content)
        return std::nullopt;
    AppFolders::ensureFolder(folder);
    if (!writeAtomically(*path, *content))
        return std::nullopt;
    return path;
}

std::optional<QString> MediaDownloader::downloadDriveImage(const QString &thumbnailLink,
    const QString &folderId, const QString &folderName, const QString &folder, const std::atomic<bool> *stop,
    int timeoutMs)
{
    if (thumbnailLink.isEmpty())
        return std::nullopt;
    QString url = thumbnailLink;
    url.remove(QStringLiteral("=s220"));
    const std::optional<QString> path
        = download(url, folder, folderId + QLatin1Char('_') + folderName, stop, timeoutMs);
    if (!path) {
        stdoutLine(QStringLiteral("originalImage is nil"));
        return std::nullopt;
    }
    QImageReader reader(*path);
    const QSize size = reader.size();
    if (!reader.canRead()) {
        stdoutLine(QStringLiteral("originalImage is nil"));
        return std::nullopt;
    }
    if (size.width() <= 0 || size.height() <= 0) {
        stdoutLine(QStringLiteral("originalImage is height width is zero"));
        return std::nullopt;
    }
    return path;
}
