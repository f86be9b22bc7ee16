#include "removal/RemovalRouteFactory.h"

#include "removal/DriveRoute.h"
#include "removal/DropboxRoute.h"
#include "removal/LibraryAlbumRoute.h"
#include "removal/RemovalRoutes.h"

std::shared_ptr<RemovalRoutes> RemovalRouteFactory::make(const Sources &sources)
{
    auto routes = std::make_shared<RemovalRoutes>();
    routes->setRoute(RemovalRoutes::Kind::Dropbox, std::make_shared<DropboxRoute>(sources.dropbox));
    routes->setRoute(RemovalRoutes::Kind::GoogleDrive, std::make_shared<DriveRoute>(sources.drive));
    if (sources.library)
        routes->setRoute(RemovalRoutes::Kind::LibraryAlbum, libraryRoute(sources.library, sources.albumName));
    return routes;
}

std::shared_ptr<LibraryAlbumRoute> RemovalRouteFactory::libraryRoute(
    const std::shared_ptr<PhotosLibraryBridge> &library, const QString &albumName)
{
    return std::make_shared<LibraryAlbumRoute>(library, albumName);
}
