// The state of the results window that does not need widgets: the groups as handed over and as
// filtered, the match and file-type filters, the counts and sizes, and the grid's section model.
// The window's controller derives from it; the headless runner and the tests drive it directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QList>
#include <QVariantMap>

#include "app/GlobalObjects.h"
#include "model/ImageDirectoryLoader.h"
#include "scan/WalkReport.h"

class DuplicatesGroup;
class ImageFileInfo;
class ScanWrapper;

class ResultState
{
public:
    using GroupList = std::vector<std::shared_ptr<DuplicatesGroup>>;
    using RecordList = std::vector<std::shared_ptr<ImageFileInfo>>;

    ResultState();
    virtual ~ResultState();

    // The members of `members` whose match reaches `level`, each followed by its best match when
    // that one passes too and is not listed yet. A score that is not a number never passes.
    static RecordList groupMatchesAllowedLevel(
        const QList<std::shared_ptr<ImageFileInfo>> &members, float level);

    // The test of one group at allowedMatch and typeSupport; rewrites its filterChildren as the
    // filter pass does (a group dropped by the type test keeps them).
    bool filterGroupByFileType(DuplicatesGroup &group) const;
    // Whether the group would be shown at `level` with the current file type; changes nothing.
    bool wouldShowGroup(const DuplicatesGroup &group, float level) const;
    // Replaces the groups with those of the scan, all files shown; the filters run next.
    void enterGroups(const GroupList &groups);
    // arrGroups = the groups of arrAllFilesGrouping that pass both filters, in their order.
    void filterGroups();
    // filterGroups() after a removal: when the chosen file type has nothing left while groups of
    // the other types remain, the filter gives way to all files, so those groups can be reached.
    void filterGroupsAfterRemoval();
    // allowedMatch = level, then filterGroups() and recountTotals().
    void applyLevel(float level);
    // Whether any group of the scan would be shown at `level`.
    bool hasGroupsAtLevel(float level) const;

    void countGroupsAndDuplicates();
    // arrImageContent and every count rebuilt from arrGroups.
    void recountTotals();
    bool hasPhotosLibraryItems() const;
    // True when at most one shown member of the group is unmarked: marking it would leave none.
    static bool isLastUnmarkedInGroup(const DuplicatesGroup &group);
    // arrImageContent, sizeTotal and the section model rebuilt from arrGroups; the grid reloads next.
    void rebuildContentArrays();

    // The record at (section, item) of the shown groups; null when the position is stale.
    std::shared_ptr<ImageFileInfo> recordAt(int section, int item) const;
    std::shared_ptr<DuplicatesGroup> groupAt(int section) const;
    // (group, member) of `record` among the shown groups; none when it is not shown.
    std::optional<std::pair<int, int>> positionOf(const ImageFileInfo *record) const;
    // Sections and items the grid shows, from the section model.
    int numberOfSections() const;
    int numberOfItemsInSection(int section) const;

    bool bAbortAutoMark = false;
    int uniquePhotosReatined = 0;
    bool isShowingThumbView = true;
    RecordList arrImageContent;
    int numToLoadPhotosFirstTime = 0;
    GroupList arrGroups;
    ImageDirectoryLoader imageDirectoryLoader;
    bool flagMarkUnMark = false;
    bool flagForMarkUnMark = false;
    std::uint64_t sizeMarked = 0;
    int countMarked = 0;
    int countiPhotoMarked = 0;
    int cDup = 0;
    std::uint64_t sizeToClean = 0;
    float allowedMatch = 0.0f;
    int countSelected = 0;
    std::uint64_t sizeTotal = 0;
    int countTotal = 0;
    std::shared_ptr<ScanWrapper> scanWrapper;
    bool flagToLockUnLock = false;
    GroupList arrAllFilesGrouping;
    std::optional<GlobalObjects::TypeSupport> typeSupport;
    std::optional<GlobalObjects::StepNumberForPhotos> stepNumber;
    bool isPhotosLibAdded = false;
    bool isPhotosLibrayMarkedForTrash = false;
    bool isAppAutharizedToMoveDups = false;
    // Set by Stop on the GUI thread, read by the removal worker before each file.
    std::atomic<bool> abortNow { false };
    // A removal run is under way: Trash Marked and marking refuse until it has ended.
    bool removalInProgress = false;
    // What the last removal run could not do, for its summary.
    int removalSkippedGroups = 0;
    int removalSkippedInTrash = 0;
    int removalFailedFiles = 0;
    // The files it left in place, each with why in the user's words (empty when there are none).
    std::vector<std::pair<QString, QString>> removalLeftInPlace;
    // Whether it was stopped, and the planned files it had not reached then.
    bool removalStopped = false;
    int removalNotReached = 0;
    // The files whose removal had begun and not answered when it ended, with what may become of them.
    std::vector<std::pair<QString, QString>> removalUnderWay;
    int countTrashed = 0;
    std::uint64_t sizeTrashed = 0;
    // Of countTrashed, the library items listed in the album file.
    int countListedInAlbum = 0;
    QVariantMap dictiPhotoCleanedKeys;
    QVariantMap dictPhotos;
    int dupsCountToClean = 0;
    bool isPhotosAppTrashed = false;
    bool isAllTrashed = false;
    GlobalObjects::TypeSupport deletedFileTypes = GlobalObjects::TypeSupport::ALLFILES;
    // The source of the scan these results came from, fixed when the results arrive: menus and
    // removal read it, never the live source popup.
    ScanSource scanSource = ScanSource::thisComputer;
    // Exact or similar matching of that scan, fixed the same way.
    GlobalObjects::CompareType scanCompareType = GlobalObjects::CompareType::ctHash;
    // What that scan left out of the comparison, and the minimum size it took; the empty window
    // says it.
    WalkReport walkReport;
    qint64 scanMinimumFileSize = 0;

private:
    bool passesTypeTest(const DuplicatesGroup &group) const;
};
