// Match and file-type filters, counts and the grid's section model of the results window.
#include "results/ResultState.h"

#include <algorithm>

#include <QSet>
#include <QUrl>

#include "app/ScanWrapper.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Log.h"

ResultState::ResultState() = default;
ResultState::~ResultState() = default;

ResultState::RecordList ResultState::groupMatchesAllowedLevel(const QList<std::shared_ptr<ImageFileInfo>> &members,
                                                              float level)
{
    RecordList passing;
    QSet<const ImageFileInfo *> passingSet;
    for (const auto &member : members) {
        if (member && member->match >= level) {
            passing.push_back(member);
            passingSet.insert(member.get());
        }
    }
    // Sets keep large groups linear: the members are checked against both lists once each.
    RecordList result;
    result.reserve(passing.size());
    QSet<const ImageFileInfo *> added;
    added.reserve(passingSet.size());
    for (const auto &member : passing) {
        if (!added.contains(member.get())) {
            added.insert(member.get());
            result.push_back(member);
        }
        const std::shared_ptr<ImageFileInfo> best = member->matchesWithNode.lock();
        if (best && passingSet.contains(best.get()) && !added.contains(best.get())) {
            added.insert(best.get());
            result.push_back(best);
        }
    }
    return result;
}

bool ResultState::passesTypeTest(const DuplicatesGroup &group) const
{
    if (group.children.isEmpty() || !group.children.first())
        return false;
    const bool firstIsVideo = group.children.first()->isVideo;
    switch (typeSupport.value_or(GlobalObjects::TypeSupport::ALLFILES)) {
    case GlobalObjects::TypeSupport::ONLYVIDEO:
        return firstIsVideo;
    case GlobalObjects::TypeSupport::ONLYIMAGES:
        return !firstIsVideo;
    case GlobalObjects::TypeSupport::ALLFILES:
        break;
    }
    return true;
}

bool ResultState::filterGroupByFileType(DuplicatesGroup &group) const
{
    if (!passesTypeTest(group))
        return false;
    const RecordList passing = groupMatchesAllowedLevel(group.children, allowedMatch);
    group.filterChildren.clear();
    if (passing.size() < 2)
        return false;
    group.filterChildren = QList<std::shared_ptr<ImageFileInfo>>(passing.begin(), passing.end());
    return true;
}

bool ResultState::wouldShowGroup(const DuplicatesGroup &group, float level) const
{
    return passesTypeTest(group) && groupMatchesAllowedLevel(group.children, level).size() >= 2;
}

void ResultState::enterGroups(const GroupList &groups)
{
    typeSupport = GlobalObjects::TypeSupport::ALLFILES;
    arrAllFilesGrouping.clear();
    arrGroups.clear();
    for (const auto &group : groups) {
        if (group)
            arrAllFilesGrouping.push_back(group);
    }
}

void ResultState::filterGroups()
{
    arrGroups.clear();
    for (const auto &group : arrAllFilesGrouping) {
        if (filterGroupByFileType(*group))
            arrGroups.push_back(group);
    }
}

void ResultState::filterGroupsAfterRemoval()
{
    filterGroups();
    const auto chosen = typeSupport.value_or(GlobalObjects::TypeSupport::ALLFILES);
    if (!arrGroups.empty() || chosen == GlobalObjects::TypeSupport::ALLFILES)
        return;
    typeSupport = GlobalObjects::TypeSupport::ALLFILES;
    filterGroups();
}

void ResultState::applyLevel(float level)
{
    allowedMatch = level;
    filterGroups();
    recountTotals();
}

bool ResultState::hasGroupsAtLevel(float level) const
{
    return std::any_of(arrAllFilesGrouping.begin(), arrAllFilesGrouping.end(),
                       [&](const auto &group) { return wouldShowGroup(*group, level); });
}

void ResultState::countGroupsAndDuplicates()
{
    cDup = 0;
    sizeToClean = 0;
    // filterChildren already holds each group's members at allowedMatch (filterGroups ran before).
    for (const auto &group : arrGroups) {
        const auto &shown = group->filterChildren;
        if (shown.size() < 2)
            continue;
        cDup += int(shown.size());
        // Removing all but the first frees exactly the other members' own sizes.
        for (qsizetype i = 1; i < shown.size(); ++i)
            sizeToClean += shown[i]->fileSize;
    }
    Log::line(QStringLiteral("Results shown: ") + Log::counted(qint64(arrGroups.size()), "group", "groups")
        + QStringLiteral(", ") + Log::counted(cDup, "duplicate", "duplicates"));
}

void ResultState::recountTotals()
{
    countTotal = 0;
    sizeTotal = 0;
    countMarked = 0;
    sizeMarked = 0;
    countiPhotoMarked = 0;
    arrImageContent.clear();
    countGroupsAndDuplicates();
    for (const auto &group : arrGroups) {
        for (const auto &record : group->filterChildren) {
            arrImageContent.push_back(record);
            ++countTotal;
            sizeTotal += record->fileSize;
            if (!record->isMark)
                continue;
            if (record->isiPhotoNode)
                ++countiPhotoMarked;
            ++countMarked;
            sizeMarked += record->fileSize;
        }
    }
    countSelected = 0;
    numToLoadPhotosFirstTime = 0;
}

bool ResultState::hasPhotosLibraryItems() const
{
    return std::any_of(arrImageContent.begin(), arrImageContent.end(),
                       [](const auto &record) { return record->isPhotosNode; });
}

bool ResultState::isLastUnmarkedInGroup(const DuplicatesGroup &group)
{
    const auto unmarked = std::count_if(group.filterChildren.begin(), group.filterChildren.end(),
                                        [](const auto &record) { return !record->isMark; });
    return unmarked <= 1;
}

void ResultState::rebuildContentArrays()
{
    QList<QUrl> urls;
    imageDirectoryLoader.sectionLengthArray.clear();
    arrImageContent.clear();
    std::uint64_t total = 0;
    for (const auto &group : arrGroups) {
        imageDirectoryLoader.sectionLengthArray.append(int(group->filterChildren.size()));
        for (const auto &record : group->filterChildren) {
            // One entry per record, address or not, so the sections always match the groups.
            urls.append(record->filePathUrl);
            arrImageContent.push_back(record);
            total += record->fileSize;
        }
    }
    sizeTotal = total;
    imageDirectoryLoader.singleSectionMode = false;
    imageDirectoryLoader.loadImageFiles(urls);
}

std::shared_ptr<DuplicatesGroup> ResultState::groupAt(int section) const
{
    if (section < 0 || size_t(section) >= arrGroups.size())
        return nullptr;
    return arrGroups[size_t(section)];
}

std::optional<std::pair<int, int>> ResultState::positionOf(const ImageFileInfo *record) const
{
    for (size_t g = 0; record && g < arrGroups.size(); ++g) {
        const auto &members = arrGroups[g]->filterChildren;
        for (qsizetype i = 0; i < members.size(); ++i) {
            if (members[i].get() == record)
                return std::pair{int(g), int(i)};
        }
    }
    return std::nullopt;
}

std::shared_ptr<ImageFileInfo> ResultState::recordAt(int section, int item) const
{
    const auto group = groupAt(section);
    if (!group || item < 0 || item >= group->filterChildren.size())
        return nullptr;
    return group->filterChildren[item];
}

int ResultState::numberOfSections() const
{
    return imageDirectoryLoader.numberOfSections;
}

int ResultState::numberOfItemsInSection(int section) const
{
    const auto &sections = imageDirectoryLoader.sectionsAttributesArray;
    if (section < 0 || section >= sections.size())
        return 0;
    return sections[section].sectionLength;
}
