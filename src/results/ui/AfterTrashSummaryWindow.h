// The two summaries the results window shows after a removal run: the library album summary
// (windowAfterTrash) with its steps and the album file, and the Trash summary
// (windowAfterTrashFolderFIles) with its counts; when nothing was moved, the Trash summary without
// counts tells why, listing the files as it does. The sheets are built here; showWindowAfterTrash
// fills and opens the right one.
#pragma once

#include <functional>

#include <QCheckBox>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QPushButton>

#include "controls/CustomWindowNag.h"
#include "controls/LinkButton.h"
#include "results/AfterTrashSummary.h"

class QGridLayout;
class QScrollArea;
class QVBoxLayout;

class AlbumFileNote;
class ResultState;

class AfterTrashSummaryWindow : public QObject
{
    Q_OBJECT
public:
    AfterTrashSummaryWindow(ResultState &state, QWidget *view, QObject *parent = nullptr);

    // Performs showWindowAfterTrash_Main on the GUI thread, without waiting; callable from any thread.
    void showWindowAfterTrash();
    void showWindowAfterTrash_Main();
    // The summary's input from the state and the scan globals.
    AfterTrashInput currentInput() const;

    // Step 6 and 7 of the summary are the window's: what to hide when no item is left, and the hints.
    std::function<void(GlobalObjects::CompareType)> showNothingLeft;
    std::function<void()> updateNoResultHints;
    // The part of the screen the summaries stay inside: the results above the bottom bar. Unset,
    // they stand where the presenter put them.
    std::function<QRect()> summaryArea;

    // Photos summary.
    QPointer<CustomWindowNag> windowAfterTrash;
    QPointer<QLabel> lblAfterTrashTopHeader, lblSizeTrashed, lblNumOfPhotosTrashed, lblHowToDelFromPhotoLib,
        lblAfterTrashStep1, lblAfterTrashStep2, lblAfterTrashStep3, lblInCaseAnyMistake;
    QPointer<QWidget> boxShowStepsToRemove;
    QPointer<AlbumFileNote> boxAlbumFile;
    QPointer<QPushButton> btnClosePhotoInstruction;
    // Trash summary; box1 to box3 hold its three counts.
    QPointer<CustomWindowNag> windowAfterTrashFolderFIles;
    QPointer<QWidget> boxMainAfterTrashFolderFiles, boxFigures, box1, box2, box3;
    QPointer<QLabel> lblCleanupCompleted, lblTotalDupsCleaned, lblDuplicatesRemoved, lblDeletionSuccess,
        lblTrashCountInFolderFile, lblSpaceRemoved, lblTrashedSizeInFileFolder, lblUniquePhotoRetained,
        lblUniquePhotoFilesFolder, lblDeletedImagesWillAppearLater;
    // Groups skipped and files not removed by the run, counted (after the missing permission guessed,
    // when nothing was moved); hidden when there were none.
    QPointer<QLabel> lblRemovalProblems;
    // The files left in place under their reasons, each on a line of its own, and how many more;
    // hidden when there are none.
    QPointer<QWidget> boxLeftInPlace;
    // Holds the Trash summary's texts: the sheet grows with them up to the room it has, then they
    // scroll above its button.
    QPointer<QScrollArea> scrollAfterTrashFolderFiles;
    // Where the moved files can be recovered from (the Trash summary's recovery hint line).
    QPointer<QLabel> lblInCaseAnyMistakeFolderFiles;
    QPointer<LinkButton> btnOkOnAfterTrash;

private:
    void buildPhotosSummary(QWidget *view);
    void buildTrashSummary(QWidget *view);
    void styleFolderFilesSummary(QGridLayout *grid, QVBoxLayout *column);
    void fillStepLines();
    void fillTrashSummary(const AfterTrashInput &input);
    void fillNothingMoved(const AfterTrashInput &input);
    // The counted `lines` and the files left in place; the counts of what moved shown when `moved`.
    void fillUndone(const QStringList &lines, const AfterTrashInput &input, bool moved);
    void fillLeftInPlace(const AfterTrashInput &input);
    void beginSummary(QWidget *sheet);
    // The sheet at the size of its texts, within the screen.
    void fitToTexts(QWidget *sheet);
    // The Trash summary as tall as its texts, within `room`.
    void fitTrashSummary(const QRect &room);
    // Where the summaries may stand: the results above the bottom bar, on the screen.
    QRect room() const;

    ResultState &m_state;
    QPointer<QWidget> m_view;
};
