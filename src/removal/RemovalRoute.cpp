// The default of the route interface: nothing is deferred.
#include "removal/RemovalRoute.h"

#include "app/LocalizedString.h"

RemovalOutcome RemovalOutcome::notAnswering()
{
    return failed(QStringLiteral("it does not answer (a share not answering?)"),
        localizedString(QStringLiteral("ID_NOT_MOVED_NOT_ANSWERING")));
}

QString RemovalOutcome::keptCopyWentWithIt()
{
    return QStringLiteral("the copy kept for it went with it");
}

QString RemovalOutcome::keptCopyNotAnswering()
{
    return QStringLiteral("the copy kept for it does not answer");
}

RemovalRoute::~RemovalRoute() = default;

QString RemovalRoute::underWayText(const ImageFileInfo &, const PathLook &) const
{
    return localizedString(QStringLiteral("ID_MAY_STILL_BE_REMOVED_WHEN_IT_ANSWERS"));
}

QString RemovalRoute::changedSinceScan(const ImageFileInfo &) const
{
    return {};
}

RemovalOutcome RemovalRoute::removeKeeping(const std::shared_ptr<ImageFileInfo> &record,
    const std::atomic<bool> &stop, const std::function<QString()> &)
{
    return remove(record, stop);
}

std::optional<RemovalOutcome> RemovalRoute::recheck(const ImageFileInfo &) const
{
    return std::nullopt;
}

RemovalOutcome RemovalRoute::removeRechecked(const std::shared_ptr<ImageFileInfo> &record,
    const std::atomic<bool> &stop, const std::function<QString()> &keptLost)
{
    return removeKeeping(record, stop, keptLost);
}

std::vector<RemovalReport> RemovalRoute::finish(const std::atomic<bool> &)
{
    return {};
}
