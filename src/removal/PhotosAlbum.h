// The album for marked duplicates in the photo library: finding it by name, making it, and adding
// items to it, through the library bridge. The two scripts an application would run are built here
// and handed to the bridge beside the structured arguments.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

class PhotosLibraryBridge;

class PhotosAlbum
{
public:
    // The error number of a refused permission to control the application.
    static constexpr int kNotAuthorized = -1743;

    PhotosAlbum(PhotosLibraryBridge &bridge, QString albumName);

    bool isAlbumFound() const;
    // Makes the album. Not running: `showNotRunningAlert` (which returns once the user has answered)
    // and false. A refused permission sets notAuthorized.
    bool createPhotosAlbum();
    // Adds the items of `references` (at most 99) to the album; the references actually added.
    QStringList moveDuplicateImagesToDuplicateMarkedPhotosAlbumWithID(const QStringList &references);

    // The scripts, line for line; the name and identifiers are escaped for the script's quotes.
    static QString createAlbumScript(const QString &albumName);
    static QString addToAlbumScript(const QString &albumName, const QStringList &ids);
    // {"id1","id2"}; empty identifiers are left out.
    static QString identifierList(const QStringList &ids);
    static QString escaped(const QString &text);

    std::function<void()> showNotRunningAlert;
    // The pause before the album script; tests make it zero.
    std::function<void()> waitBeforeScript;
    bool notAuthorized = false;
    bool notRunning = false;

private:
    PhotosLibraryBridge &m_bridge;
    QString m_albumName;
};
