#include "app/MediaDownloader.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/CopySink.h"
#include "platform/AppFolders.h"
#include "platform/ContentDigest.h"
#include "platform/HttpClient.h"
#include "platform/ImageSource.h"
#include "platform/Log.h"
#include "platform/LoopbackGuard.h"
#include "platform/PrivateFiles.h"

namespace
{

constexpr qsizetype kMaxNameBytes = 255;

// Why a copy that arrived without an error is still not the whole file; empty when it is.
QString shortfall(const HttpResponse &response, qint64 written, const WholeCopy &whole, ContentDigest *digest)
{
    // Nothing asks for a range: any other success (206 Partial Content above all) is not the file.
    if (response.status != 200)
        return QStringLiteral("the answer came with status %1, not the whole file").arg(response.status);
    const QByteArray encoding = response.header("Content-Encoding").trimmed().toLower();
    if (!encoding.isEmpty() && encoding != "identity")
        return QStringLiteral("the answer came encoded as ") + QString::fromLatin1(encoding);
    bool announces = false;
    const qint64 announced = response.header("Content-Length").trimmed().toLongLong(&announces);
    if (announces && written != announced)
        return QStringLiteral("%1 of %2 announced bytes").arg(written).arg(announced);
    // Qt ends a chunked answer, or one without a length, as complete when its connection drops.
    if (!announces && whole.exactBytes < 0 && !response.framedBody)
        return QStringLiteral("the answer did not announce its length, so a cut would pass unseen");
    if (whole.exactBytes >= 0 && written != whole.exactBytes)
        return QStringLiteral("%1 bytes of a file listed at %2").arg(written).arg(whole.exactBytes);
    if (digest && digest->result().compare(whole.digest, Qt::CaseInsensitive) != 0)
        return QStringLiteral("its content hash is not the listing's");
    return {};
}

// False when a JPEG or PNG file lacks its closing marker: a head of the picture, whatever length
// the answer announced. Other kinds are not told.
bool endsWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(8);
    file.seek(std::max<qint64>(0, file.size() - 8));
    const QByteArray tail = file.read(8);
    if (head.startsWith("\xFF\xD8"))
        return tail.endsWith("\xFF\xD9");
    return !head.startsWith("\x89PNG") || tail == QByteArrayLiteral("IEND\xAE\x42\x60\x82");
}

// True when `path` decodes as a picture of non-zero size and ends whole; otherwise the file is
// removed.
bool keepIfPicture(const QString &path)
{
    if (ImageSource(path).isValid() && endsWhole(path))
        return true;
    Log::line(QStringLiteral("The downloaded copy is not a picture: ") + path);
    AppFolders::removeEntry(path);
    return false;
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

HttpResponse MediaDownloader::saveTo(
    HttpClient &client, HttpRequest request, const QString &path, const WholeCopy &whole)
{
    // Made when missing; a folder of ours that another user may change takes no copy, and loses
    // nothing: an earlier copy goes only from the folder as checked.
    if (!AppFolders::ensureFolder(QFileInfo(path).absolutePath()) || !AppFolders::removeEntry(path))
        return HttpResponse::failed(
            HttpResponse::Failure::local, QStringLiteral("the folder is not this user's alone"));
    QSaveFile file(path);
    if (!PrivateFiles::open(file)) {
        Log::line(QStringLiteral("Cannot write the downloaded copy ") + path);
        return HttpResponse::failed(HttpResponse::Failure::local, file.errorString());
    }
    ContentDigest *digest = whole.digest.isEmpty() ? nullptr : whole.summer.get();
    CopySink sink(file, digest);
    request.sink = &sink;
    // Qt decodes a compressed answer only when it chose the encodings itself, and then the bytes
    // counted are not the file's: the copy is asked for as it is stored.
    request.headers.append(qMakePair(QByteArray("Accept-Encoding"), QByteArray("identity")));
    HttpResponse response = client.sendBlocking(std::move(request));
    if (response.ok()) {
        const QString missing = shortfall(response, sink.written(), whole, digest);
        if (!missing.isEmpty())
            response = HttpResponse::failed(HttpResponse::Failure::incomplete, missing);
    }
    if (response.ok() && !file.commit()) {
        Log::line(QStringLiteral("Cannot write the downloaded copy ") + path);
        return HttpResponse::failed(HttpResponse::Failure::local, file.errorString());
    }
    if (!response.ok())
        file.cancelWriting();
    return response;
}

std::optional<QString> MediaDownloader::download(const QString &url, const QList<QUrl> &configuredBases,
    const QString &folder, const QString &name, qint64 listedBytes, const std::atomic<bool> *stop,
    int timeoutMs, QString *why)
{
    const auto failed = [why](const HttpResponse &response) {
        if (why)
            *why = response.describe();
        return std::nullopt;
    };
    const QUrl parsed(url, QUrl::StrictMode);
    const std::optional<QString> path = targetPath(folder, name);
    if (!path)
        return failed(HttpResponse::failed(HttpResponse::Failure::local, QStringLiteral("no name to save it as")));
    AppFolders::removeEntry(*path);
    if (!LoopbackGuard::isAllowedListedLink(parsed, configuredBases)) {
        Log::line(QStringLiteral("Download refused, not an https address: ")
            + parsed.toDisplayString(QUrl::RemoveQuery));
        return failed(HttpResponse::failed(HttpResponse::Failure::refused, QStringLiteral("not an https address")));
    }
    if (stop && stop->load())
        return std::nullopt;
    HttpClient client(HttpClient::Options { HttpClient::Mode::blocking, {}, {}, timeoutMs });
    HttpRequest request = HttpRequest::get(parsed);
    request.authorize = false;
    request.stop = stop;
    request.listedLinkBases = configuredBases;
    request.limitToListedSize(listedBytes, timeoutMs);
    const HttpResponse response = saveTo(client, std::move(request), *path);
    if (!response.ok()) {
        Log::line(QStringLiteral("Download failed: ") + parsed.toDisplayString(QUrl::RemoveQuery)
            + QLatin1Char(' ') + response.describe());
        return failed(response);
    }
    return path;
}

std::optional<QString> MediaDownloader::downloadDriveImage(const QString &thumbnailLink,
    const QList<QUrl> &configuredBases, const QString &folderId, const QString &folderName,
    const QString &folder, qint64 listedBytes, const std::atomic<bool> *stop, int timeoutMs, QString *why)
{
    if (thumbnailLink.isEmpty()) {
        if (why)
            *why = QStringLiteral("no download link");
        return std::nullopt;
    }
    QString url = thumbnailLink;
    url.remove(QStringLiteral("=s220"));
    const std::optional<QString> path = download(url, configuredBases, folder,
        folderId + QLatin1Char('_') + folderName, listedBytes, stop, timeoutMs, why);
    const bool picture = path && keepIfPicture(*path);
    if (path && !picture && why)
        *why = QStringLiteral("the copy is not a whole picture");
    if (!picture) {
        Log::line(QStringLiteral("Download failed: ") + folderName);
        return std::nullopt;
    }
    return path;
}
