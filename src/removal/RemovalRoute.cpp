// The default of the route interface: nothing is deferred.
#include "removal/RemovalRoute.h"

RemovalRoute::~RemovalRoute() = default;

std::vector<RemovalReport> RemovalRoute::finish(const std::atomic<bool> &)
{
    return {};
}
