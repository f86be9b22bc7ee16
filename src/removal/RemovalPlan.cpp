// The plan of a removal run and its guard: a shown group loses files only when a member that stays
// (unmarked or locked, and still there) is a different file from every marked member. Marks can
// outlive a refilter, and one file can be reached by two paths; neither may cost the last copy.
#include "removal/RemovalPlan.h"

#include <unordered_map>

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Log.h"
#include "removal/RemovalRoute.h"
#include "removal/RemovalRoutes.h"
#include "results/ResultState.h"

namespace
{

bool isToRemove(const ImageFileInfo &record)
{
    return record.isMark && !record.isLocked;
}

// Identities asked once per record: each one is a stat() for local files.
class IdentityCache
{
public:
    IdentityCache(const ResultState &state, const RemovalRoutes &routes)
        : m_source(state.scanSource)
        , m_routes(routes)
    {
    }

    QString of(const ImageFileInfo &record)
    {
        const auto found = m_known.find(&record);
        if (found != m_known.end())
            return found->second;
        const std::shared_ptr<RemovalRoute> route = m_routes.routeFor(m_source, record);
        // Without a route the path stands in: such files are refused, with that reason, later.
        const QString id = route ? route->identity(record) : QStringLiteral("path:") + record.filePath;
        m_known.emplace(&record, id);
        return id;
    }

private:
    ScanSource m_source;
    const RemovalRoutes &m_routes;
    std::unordered_map<const ImageFileInfo *, QString> m_known;
};

// G1: whether a member that stays is another file than every marked one.
bool keepsACopy(const DuplicatesGroup &group, IdentityCache &ids)
{
    QSet<QString> markedIds;
    for (const auto &member : group.filterChildren) {
        if (isToRemove(*member))
            markedIds.insert(ids.of(*member));
    }
    for (const auto &member : group.filterChildren) {
        if (isToRemove(*member))
            continue;
        // An empty identity is a local file that is gone (or cannot be told apart): no copy.
        const QString id = ids.of(*member);
        if (!id.isEmpty() && !markedIds.contains(id))
            return true;
    }
    return false;
}

bool isReachedThroughLink(const RemovalItem &item, const ImageFileInfo &record)
{
    return item.route && item.route->isLocal() && QFileInfo(record.filePath).isSymLink();
}

} // namespace

RemovalPlan RemovalPlan::make(const ResultState &state, const RemovalRoutes &routes)
{
    RemovalPlan plan;
    IdentityCache ids(state, routes);
    QSet<QString> keptIds;
    std::vector<std::shared_ptr<ImageFileInfo>> candidates;
    for (const auto &group : state.arrGroups) {
        bool anyMarked = false;
        for (const auto &member : group->filterChildren) {
            if (isToRemove(*member)) {
                plan.marked.push_back(member);
                anyMarked = true;
            } else if (const QString id = ids.of(*member); !id.isEmpty()) {
                keptIds.insert(id);
            }
        }
        if (!anyMarked)
            continue;
        if (!keepsACopy(*group, ids)) {
            ++plan.skippedGroups;
            Log::line(QStringLiteral("Removal skipped a group: no copy would remain (")
                + group->filterChildren.first()->filePath + QLatin1Char(')'));
            continue;
        }
        for (const auto &member : group->filterChildren) {
            if (isToRemove(*member))
                candidates.push_back(member);
        }
    }
    QHash<QString, size_t> itemOf;
    for (const auto &record : candidates) {
        std::shared_ptr<RemovalRoute> route = routes.routeFor(state.scanSource, *record);
        if (!route) {
            plan.refused.push_back({ record, QStringLiteral("no way to remove files of this source") });
            continue;
        }
        const QString id = ids.of(*record);
        // The same file stays as an unmarked or locked member of another group.
        if (!id.isEmpty() && keptIds.contains(id)) {
            plan.refused.push_back({ record, QStringLiteral("the same file is kept in another group") });
            continue;
        }
        if (!id.isEmpty() && itemOf.contains(id)) {
            RemovalItem &item = plan.items[itemOf.value(id)];
            // The file itself is moved, not a link to it.
            if (isReachedThroughLink(item, *item.records.front()) && !isReachedThroughLink(item, *record))
                item.records.insert(item.records.begin(), record);
            else
                item.records.push_back(record);
            continue;
        }
        if (!id.isEmpty())
            itemOf.insert(id, plan.items.size());
        plan.items.push_back({ { record }, std::move(route), id });
    }
    return plan;
}
