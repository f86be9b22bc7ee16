// What the results window tells after a removal run: which summary it shows (the library album one,
// the Trash one, or the "nothing was moved" message), their texts, the recovery hint and the step
// lines of the library summary. Decided without widgets.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "app/GlobalObjects.h"

struct AfterTrashInput {
    bool isPhotosLibAdded = false;
    bool isPhotosLibrayMarkedForTrash = false;
    int countTrashed = 0;
    std::uint64_t sizeTrashed = 0;
    // Of countTrashed, the library items listed in the album file (no space freed, no Trash), and
    // that file.
    int listedInAlbum = 0;
    QString albumFile;
    GlobalObjects::TypeSupport deletedFileTypes = GlobalObjects::TypeSupport::ALLFILES;
    ScanSource scanType = ScanSource::thisComputer;
    QString languageCode = QStringLiteral("en");
    int uniquePhotosReatined = 0;
    // No item is left in the results.
    bool nothingLeft = false;
    GlobalObjects::CompareType compareType = GlobalObjects::CompareType::ctHash;
    // Groups the run left whole because no copy would have remained, and files it could not remove.
    int skippedGroups = 0;
    int failedFiles = 0;
    // Groups left whole because their only other copies lie in a Trash.
    int skippedInTrash = 0;
    // Files the run took away that the results still show (until they are refreshed).
    bool movedStillShown = false;
    // The files left in place, each with why in the user's words (empty when there are none).
    std::vector<std::pair<QString, QString>> leftInPlace;
    // The run was stopped, and the planned files it had not reached then.
    bool stopped = false;
    int notReached = 0;
    // The files whose removal had begun and not answered when the run ended, each with what may
    // still become of it.
    std::vector<std::pair<QString, QString>> underWay;
};

// The files a run left in place, told by reason in the order met, after those whose removal may still
// happen: every reason with the paths of its files.
struct LeftInPlaceList {
    struct Reason {
        QString why;
        QStringList paths;
    };
    std::vector<Reason> reasons;
};

struct TrashSummaryTexts {
    QString totalDupsCleaned; // lblTotalDupsCleaned
    QString duplicatesRemoved; // lblDuplicatesRemoved
    QString deletionSuccess; // lblDeletionSuccess
    QString trashCount; // lblTrashCountInFolderFile
    QString trashedSize; // lblTrashedSizeInFileFolder
    QString uniqueRetained; // lblUniquePhotoFilesFolder
    QString sizeCaption; // lblSpaceRemoved
};

class AfterTrashSummary
{
public:
    enum class Outcome { PhotosSummary, TrashSummary, NothingMoved };

    static Outcome outcome(const AfterTrashInput &input);
    // True when the results are left without any item (isAllTrashed).
    static bool isAllTrashed(const AfterTrashInput &input) { return input.nothingLeft; }

    static QString recoveryText(const AfterTrashInput &input);
    // Photos summary: "... recovered" (empty when only library items were listed) and "N items
    // listed in the album file" with, on a line of its own, "N photos moved" for the Trash.
    static QString spaceToRecoverText(const AfterTrashInput &input);
    static QString movedCountText(const AfterTrashInput &input);
    static TrashSummaryTexts trashSummaryTexts(const AfterTrashInput &input);
    // The "nothing was moved" message, the same for every language and both outcomes; a stopped
    // run says it was stopped, and never that nothing moved while a move may still end.
    static QString nothingMovedMessage(const AfterTrashInput &input);
    // The lines under it: the missing permission guessed when no reason is known, then the counted
    // lines; the files themselves are listed apart (leftInPlace).
    static QStringList nothingMovedLines(const AfterTrashInput &input);
    // What the run left undone ("n groups skipped: ...", "n files could not be removed", "n files
    // left in place: the removal was stopped" after a run that moved some or may still), one line each; empty
    // when it did everything it was asked.
    static QStringList undoneLines(const AfterTrashInput &input);
    // The files left in place, and first those whose removal may still happen. The paths and
    // reasons are on one line each, bounded, as shown.
    static LeftInPlaceList leftInPlace(const AfterTrashInput &input);

    // The library summary's steps: the album is a file of this program, the deleting is done in
    // the program that manages the library.
    static QString step2Text();
    static QString step3Text();
};
