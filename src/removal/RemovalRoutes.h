// The routes of one results window, one per kind of source. A record's route follows from the source
// of the scan the results came from and from the record itself (library items go to the album),
// never from what the main window shows now.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "app/GlobalObjects.h"

class ImageFileInfo;
class RemovalRoute;

class RemovalRoutes
{
public:
    enum class Kind { ThisComputer, GoogleDrive, Dropbox, LibraryAlbum };

    // The Trash route for files of this computer; the others are plugged in by their sources.
    RemovalRoutes();
    ~RemovalRoutes();

    void setRoute(Kind kind, std::shared_ptr<RemovalRoute> route);
    std::shared_ptr<RemovalRoute> route(Kind kind) const;

    static Kind kindFor(ScanSource scanSource, const ImageFileInfo &record);
    // Null when no route serves such records.
    std::shared_ptr<RemovalRoute> routeFor(ScanSource scanSource, const ImageFileInfo &record) const;

private:
    std::array<std::shared_ptr<RemovalRoute>, 4> m_routes;
};
