// The album for marked duplicates kept by this application, since no photo-library application runs
// here: one property list in the support folder, library path -> album name -> items, written
// atomically. Each item is {"identifier", "path"}: its identifier in the library and its path inside
// the library, so it can be found with another program; files of earlier versions hold bare
// identifiers, which are still read. The library itself is never touched; the scripts are not used.
#pragma once

#include <mutex>

#include <QHash>
#include <QVariantMap>

#include "platform/PhotosLibraryBridge.h"

class LocalAlbumStore : public PhotosLibraryBridge
{
public:
    // `file` empty: "marked-albums.plist" in the support folder.
    explicit LocalAlbumStore(QString file = {});

    // Runs while the folder of its file can be written.
    bool isRunning() const override;
    bool openLibrary(const QString &path) override;
    std::optional<QStringList> containerNames() const override;
    AlbumScriptResult createAlbum(const QString &name, const QString &script) override;
    QString mediaItemReference(const QString &id) const override;
    void describeItem(const QString &reference, const QString &pathInLibrary) override;
    QStringList addToAlbum(
        const QString &name, const QStringList &references, const QString &script) override;

    QString filePath() const { return m_file; }
    // "marked-albums.plist" in the support folder: the album file the program uses.
    static QString defaultFilePath();
    // The identifiers of album `name` of library `library`.
    QStringList albumItems(const QString &library, const QString &name) const;

private:
    QVariantMap read() const;
    // The identifiers of album items, old bare ones and {"identifier", "path"} ones alike.
    static QStringList identifiers(const QVariantList &items);
    bool write(const QVariantMap &albums) const;

    QString m_file;
    mutable std::mutex m_mutex;
    QString m_library;
    QHash<QString, QString> m_itemPaths;
};
