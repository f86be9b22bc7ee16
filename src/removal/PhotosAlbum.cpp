// The album for marked duplicates.
#include "removal/PhotosAlbum.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/Log.h"
#include "platform/PhotosLibraryBridge.h"

PhotosAlbum::PhotosAlbum(PhotosLibraryBridge &bridge, QString albumName)
    : waitBeforeScript([] { std::this_thread::sleep_for(std::chrono::seconds(1)); })
    , m_bridge(bridge)
    , m_albumName(std::move(albumName))
{
}

bool PhotosAlbum::isAlbumFound() const
{
    const std::optional<QStringList> names = m_bridge.containerNames();
    if (!names)
        return false;
    bool found = false;
    for (const QString &name : *names) {
        if (name == m_albumName) {
            found = true;
            break;
        }
        // Composed and decomposed accents are one name; the C library's collation would not say so.
        if (name.normalized(QString::NormalizationForm_C)
                .localeAwareCompare(m_albumName.normalized(QString::NormalizationForm_C))
            == 0) {
            found = true;
            break;
        }
    }
    Log::line(QStringLiteral("Library album \"%1\" %2")
                  .arg(m_albumName, found ? QStringLiteral("found") : QStringLiteral("not found")));
    return found;
}

bool PhotosAlbum::createPhotosAlbum()
{
    if (!m_bridge.isRunning()) {
        notRunning = true;
        if (showNotRunningAlert)
            showNotRunningAlert();
        return false;
    }
    if (waitBeforeScript)
        waitBeforeScript();
    const AlbumScriptResult run = m_bridge.createAlbum(m_albumName, createAlbumScript(m_albumName));
    if (!run.result && run.errorNumber == kNotAuthorized)
        notAuthorized = true;
    return run.result;
}

QStringList PhotosAlbum::moveDuplicateImagesToDuplicateMarkedPhotosAlbumWithID(const QStringList &references)
{
    QStringList ids;
    for (const QString &reference : references) {
        if (reference.isEmpty())
            Log::line(QStringLiteral("A library item without an identifier was left out of the album"));
        else
            ids.append(reference);
    }
    return m_bridge.addToAlbum(m_albumName, ids, addToAlbumScript(m_albumName, ids));
}

QString PhotosAlbum::escaped(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return out;
}

QString PhotosAlbum::identifierList(const QStringList &ids)
{
    QStringList quoted;
    for (const QString &id : ids) {
        if (!id.isEmpty())
            quoted.append(QLatin1Char('"') + escaped(id) + QLatin1Char('"'));
    }
    return QLatin1Char('{') + quoted.join(QLatin1Char(',')) + QLatin1Char('}');
}

QString PhotosAlbum::createAlbumScript(const QString &albumName)
{
    return QStringList { QStringLiteral("tell application \"Photos\" "), QStringLiteral(" delay 3"),
        QStringLiteral(" make new album named \"%1\"").arg(escaped(albumName)), QStringLiteral(" end tell") }
        .join(QLatin1Char('\n'));
}

QString PhotosAlbum::addToAlbumScript(const QString &albumName, const QStringList &ids)
{
    return QStringList { QStringLiteral("tell application \"Photos\" "),
        QStringLiteral(" set source_album_name to \"All Photos\" "),
        QStringLiteral(" set target_album_name to \"%1\" ").arg(escaped(albumName)),
        QStringLiteral("  set imageList to {} "),
        QStringLiteral(" set imageId to %1 ").arg(identifierList(ids)),
        QStringLiteral(" set mediaItems to every media item "),
        QStringLiteral(" repeat with mediaItem in mediaItems "),
        QStringLiteral(" set mediaID to id of mediaItem as string "),
        QStringLiteral(" if (mediaID is in imageId) then "),
        QStringLiteral(" set the end of imageList to mediaItem "), QStringLiteral("  end if "),
        QStringLiteral(" end repeat "),
        QStringLiteral(" add imageList to container named target_album_name "), QStringLiteral(" end tell") }
        .join(QLatin1Char('\n'));
}
