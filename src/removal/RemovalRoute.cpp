// The default of the route interface: nothing is deferred.
#include "removal/RemovalRoute.h"

RemovalRoute::~RemovalRoute() = default;

QString RemovalRoute::changedSinceScan(const ImageFileInfo &) const
{
    return {};
}

RemovalOutcome RemovalRoute::removeKeeping(const std::shared_ptr<ImageFileInfo> &record,
    const std::atomic<bool> &stop, const std::function<QString()> &)
{
    return remove(record, stop);
}

std::vector<RemovalReport> RemovalRoute::finish(const std::atomic<bool> &)
{
    return {};
}
