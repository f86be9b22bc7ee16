// The default of the route interface: nothing is deferred.
#include "removal/RemovalRoute.h"

RemovalRoute::~RemovalRoute() = default;

QString RemovalRoute::changedSinceScan(const ImageFileInfo &) const
{
    return {};
}

std::vector<RemovalReport> RemovalRoute::finish(const std::atomic<bool> &)
{
    return {};
}
