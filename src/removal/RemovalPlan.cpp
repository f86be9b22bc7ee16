// The plan of a removal run and its guard: a shown group loses files only when a member that stays
// (unmarked or locked, still there, and not lying in a Trash) is a different file from every marked
// member. Marks can outlive a refilter, one file can be reached by two paths, and a copy in a Trash
// goes when the Trash is emptied; none may cost the last copy.
#include "removal/RemovalPlan.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "app/LocalizedString.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Log.h"
#include "platform/PathLook.h"
#include "platform/ScanMounts.h"
#include "platform/Trash.h"
#include "removal/RemovalRoute.h"
#include "removal/RemovalRoutes.h"
#include "results/ResultState.h"

namespace
{

bool isToRemove(const ImageFileInfo &record)
{
    return record.isMark && !record.isLocked;
}

// Whether a Trash known by identity holds `folder`, reached through its links or as written; a folder
// whose mount does not answer counts as held by none, and the run checks its copy again.
bool heldByATrash(const QString &folder)
{
    return ScanMounts::survey({ folder }, nullptr, ScanMounts::Reach::Holding)
        .holds(folder, nullptr)
        .answer.value_or(false);
}

// Identities asked once per record, from what the looks found for the files of this computer: a
// file on a mount that did not answer has none.
class IdentityCache
{
public:
    IdentityCache(const ResultState &state, const RemovalRoutes &routes, const RemovalLooks &looks)
        : m_source(state.scanSource)
        , m_routes(routes)
        , m_looks(looks)
    {
    }

    QString of(const ImageFileInfo &record)
    {
        if (const auto found = m_looks.identities.find(&record); found != m_looks.identities.end())
            return found->second;
        if (const auto found = m_known.find(&record); found != m_known.end())
            return found->second;
        if (m_looks.notAnswering.contains(&record))
            return {};
        const std::shared_ptr<RemovalRoute> route = m_routes.routeFor(m_source, record);
        // Without a route the path stands in: such files are refused, with that reason, later. A
        // route of this computer the looks did not reach gives none: nothing is looked at here.
        const QString id = !route ? QStringLiteral("path:") + record.filePath
            : route->isLocal()    ? QString()
                                  : route->identity(record);
        m_known.emplace(&record, id);
        return id;
    }

    // A local file whose mount did not answer when its identity was asked.
    bool isNotAnswering(const ImageFileInfo &record) const { return m_looks.notAnswering.contains(&record); }
    // A local file reached through a link, as seen when its identity was asked.
    bool isLink(const ImageFileInfo &record) const { return m_looks.links.contains(&record); }

    // A file of this computer lying in a Trash, by the Trash's name or, however it is reached, by
    // its identity. Asked apart from the walk, which should never have offered such a file.
    bool liesInTrash(const ImageFileInfo &record) const
    {
        const std::shared_ptr<RemovalRoute> route = m_routes.routeFor(m_source, record);
        if (!route || !route->isLocal())
            return false;
        const QFileInfo info(record.filePath);
        return Trash::isTrashedByName(info.fileName()) || m_looks.folderInTrash.value(info.absolutePath());
    }

private:
    ScanSource m_source;
    const RemovalRoutes &m_routes;
    const RemovalLooks &m_looks;
    std::unordered_map<const ImageFileInfo *, QString> m_known;
};

// G1: the members that stay and are other files than every marked one; none means no copy.
// `onlyInTrash` tells when the only members that would have stayed lie in a Trash.
std::vector<std::shared_ptr<ImageFileInfo>> keptCopies(
    const DuplicatesGroup &group, IdentityCache &ids, bool &onlyInTrash)
{
    QSet<QString> markedIds;
    for (const auto &member : group.filterChildren) {
        if (isToRemove(*member))
            markedIds.insert(ids.of(*member));
    }
    std::vector<std::shared_ptr<ImageFileInfo>> kept;
    onlyInTrash = false;
    for (const auto &member : group.filterChildren) {
        if (isToRemove(*member))
            continue;
        // An empty identity is a local file that is gone (or cannot be told apart): no copy.
        const QString id = ids.of(*member);
        if (id.isEmpty() || markedIds.contains(id))
            continue;
        if (ids.liesInTrash(*member))
            onlyInTrash = true;
        else
            kept.push_back(member);
    }
    onlyInTrash = onlyInTrash && kept.empty();
    return kept;
}

bool keptCopyDoesNotAnswer(const DuplicatesGroup &group, const IdentityCache &ids)
{
    return std::any_of(group.filterChildren.begin(), group.filterChildren.end(),
        [&ids](const auto &member) { return !isToRemove(*member) && ids.isNotAnswering(*member); });
}

bool isReachedThroughLink(const RemovalItem &item, const ImageFileInfo &record, const IdentityCache &ids)
{
    return item.route && item.route->isLocal() && ids.isLink(record);
}

} // namespace

std::vector<RemovalSubject> RemovalPlan::subjectsOf(const ResultState &state, const RemovalRoutes &routes)
{
    std::vector<RemovalSubject> subjects;
    QSet<const ImageFileInfo *> seen;
    for (const auto &group : state.arrGroups) {
        for (const auto &member : group->filterChildren) {
            if (seen.contains(member.get()))
                continue;
            seen.insert(member.get());
            std::shared_ptr<RemovalRoute> route = routes.routeFor(state.scanSource, *member);
            if (route && route->isLocal())
                subjects.push_back({ member, std::move(route), member->filePath });
        }
    }
    return subjects;
}

RemovalLooks RemovalPlan::look(const std::vector<RemovalSubject> &subjects)
{
    RemovalLooks looks;
    // Each look owns its copy of the subjects: one left behind outlives this call.
    const auto owned = std::make_shared<const std::vector<RemovalSubject>>(subjects);
    QStringList paths;
    for (const RemovalSubject &subject : subjects)
        paths.append(subject.path);
    // Whether the path is a link is asked in the same look: it is an lstat() too.
    const std::vector<std::optional<std::pair<QString, bool>>> looked
        = PathLook::current().lookInTurn<std::pair<QString, bool>>(
            paths,
            [owned](qsizetype i) {
                const RemovalSubject &subject = (*owned)[size_t(i)];
                return std::make_pair(
                    subject.route->identity(*subject.record), QFileInfo(subject.path).isSymLink());
            },
            nullptr);
    for (size_t i = 0; i < looked.size(); ++i) {
        const ImageFileInfo *record = subjects[i].record.get();
        if (!looked[i]) {
            looks.notAnswering.insert(record);
            continue;
        }
        looks.identities.emplace(record, looked[i]->first);
        if (looked[i]->second)
            looks.links.insert(record);
    }
    // Once per folder: the copies of a large scan share few folders. Only the mount holding each
    // folder and its volume's top are looked into, each a bounded time.
    for (const RemovalSubject &subject : subjects) {
        const QString folder = QFileInfo(subject.path).absolutePath();
        if (!looks.folderInTrash.contains(folder))
            looks.folderInTrash.insert(folder, Trash::isInsideTrashFolder(folder) || heldByATrash(folder));
    }
    return looks;
}

RemovalPlan RemovalPlan::make(const ResultState &state, const RemovalRoutes &routes)
{
    return make(state, routes, look(subjectsOf(state, routes)));
}

RemovalPlan RemovalPlan::make(
    const ResultState &state, const RemovalRoutes &routes, const RemovalLooks &looks)
{
    RemovalPlan plan;
    IdentityCache ids(state, routes, looks);
    QSet<QString> keptIds;
    std::vector<std::pair<std::shared_ptr<ImageFileInfo>, size_t>> candidates;
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
        bool onlyInTrash = false;
        const std::vector<std::shared_ptr<ImageFileInfo>> kept = keptCopies(*group, ids, onlyInTrash);
        if (kept.empty() && keptCopyDoesNotAnswer(*group, ids)) {
            // Never removed without the copy kept for it having been seen.
            for (const auto &member : group->filterChildren) {
                if (isToRemove(*member))
                    plan.refused.push_back({ member, RemovalOutcome::keptCopyNotAnswering(),
                        localizedString(QStringLiteral("ID_NOT_MOVED_KEPT_COPY_NOT_ANSWERING")) });
            }
            continue;
        }
        if (kept.empty()) {
            ++(onlyInTrash ? plan.skippedInTrash : plan.skippedGroups);
            Log::line(QStringLiteral("Removal skipped a group: ")
                + (onlyInTrash ? QStringLiteral("its only other copies lie in a Trash (")
                               : QStringLiteral("no copy would remain ("))
                + group->filterChildren.first()->filePath + QLatin1Char(')'));
            continue;
        }
        RemovalGroup planned;
        for (const auto &record : kept)
            planned.kept.push_back({ record, routes.routeFor(state.scanSource, *record) });
        plan.groups.push_back(std::move(planned));
        for (const auto &member : group->filterChildren) {
            if (isToRemove(*member))
                candidates.emplace_back(member, plan.groups.size() - 1);
        }
    }
    QHash<QString, size_t> itemOf;
    for (const auto &[record, group] : candidates) {
        std::shared_ptr<RemovalRoute> route = routes.routeFor(state.scanSource, *record);
        if (!route) {
            plan.refused.push_back({ record, QStringLiteral("no way to remove files of this source"), {} });
            continue;
        }
        if (ids.isNotAnswering(*record)) {
            const RemovalOutcome silent = RemovalOutcome::notAnswering();
            plan.refused.push_back({ record, silent.reason, silent.shown });
            continue;
        }
        const QString id = ids.of(*record);
        // The same file stays as an unmarked or locked member of another group.
        if (!id.isEmpty() && keptIds.contains(id)) {
            plan.refused.push_back({ record, QStringLiteral("the same file is kept in another group"),
                localizedString(QStringLiteral("ID_NOT_MOVED_KEPT_IN_ANOTHER_GROUP")) });
            continue;
        }
        if (!id.isEmpty() && itemOf.contains(id)) {
            RemovalItem &item = plan.items[itemOf.value(id)];
            // The file itself is moved, not a link to it.
            if (isReachedThroughLink(item, *item.records.front(), ids)
                && !isReachedThroughLink(item, *record, ids))
                item.records.insert(item.records.begin(), record);
            else
                item.records.push_back(record);
            if (std::find(item.groups.begin(), item.groups.end(), group) == item.groups.end())
                item.groups.push_back(group);
            continue;
        }
        if (!id.isEmpty())
            itemOf.insert(id, plan.items.size());
        plan.items.push_back({ { record }, std::move(route), id, { group } });
    }
    return plan;
}
