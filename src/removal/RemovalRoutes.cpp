// Route selection by scan source and record.
#include "removal/RemovalRoutes.h"

#include "model/ImageFileInfo.h"
#include "removal/LocalTrashRoute.h"

RemovalRoutes::RemovalRoutes()
{
    setRoute(Kind::ThisComputer, std::make_shared<LocalTrashRoute>());
}

RemovalRoutes::~RemovalRoutes() = default;

void RemovalRoutes::setRoute(Kind kind, std::shared_ptr<RemovalRoute> route)
{
    m_routes[size_t(kind)] = std::move(route);
}

std::shared_ptr<RemovalRoute> RemovalRoutes::route(Kind kind) const
{
    return m_routes[size_t(kind)];
}

RemovalRoutes::Kind RemovalRoutes::kindFor(ScanSource scanSource, const ImageFileInfo &record)
{
    switch (scanSource) {
    case ScanSource::googleDrive:
        return Kind::GoogleDrive;
    case ScanSource::dropbox:
        return Kind::Dropbox;
    case ScanSource::thisComputer:
        break;
    }
    return record.isPhotosNode ? Kind::LibraryAlbum : Kind::ThisComputer;
}

std::shared_ptr<RemovalRoute> RemovalRoutes::routeFor(
    ScanSource scanSource, const ImageFileInfo &record) const
{
    return route(kindFor(scanSource, record));
}
