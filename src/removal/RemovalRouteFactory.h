// The one place where a results window's removal routes are made from the scan's sources: the
// Trash for files of this computer, the album for library items, Dropbox deletion through the
// scan's Dropbox source and the Drive trash through the Drive service. The removal sheets and the
// headless runner take their routes from here, so both remove through the same roads.
#pragma once

#include <functional>
#include <memory>

#include <QString>

class DriveService;
class LibraryAlbumRoute;
class PhotosLibraryBridge;
class RemovalRoutes;
class ScanWrapper;

class RemovalRouteFactory
{
public:
    struct Sources {
        // The Dropbox source of the results shown; asked when a removal starts (GUI thread).
        std::function<std::shared_ptr<ScanWrapper>()> dropbox;
        // Null: Drive files cannot be removed.
        DriveService *drive = nullptr;
        // The photo library the album for marked duplicates lives in.
        std::shared_ptr<PhotosLibraryBridge> library;
        QString albumName;
    };

    static std::shared_ptr<RemovalRoutes> make(const Sources &sources);
    static std::shared_ptr<LibraryAlbumRoute> libraryRoute(
        const std::shared_ptr<PhotosLibraryBridge> &library, const QString &albumName);
};
