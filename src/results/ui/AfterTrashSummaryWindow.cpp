// Summaries after a removal run.
#include "results/ui/AfterTrashSummaryWindow.h"

#include <algorithm>

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "controls/ControlFonts.h"
#include "controls/ElidingLabel.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/LineBreaks.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/FrameGeometry.h"
#include "results/ResultState.h"
#include "results/ui/AlbumFileNote.h"
#include "results/ui/ResultSheets.h"

namespace
{

constexpr int kStepsWidth = 560;
constexpr int kStepFontSize = 13;
// The Trash summary: its width and the margins of its texts.
constexpr int kTrashSummaryWidth = 540;
constexpr QMargins kTrashTextMargins { 24, 20, 24, 16 };
// Files stand under their reason, indented.
constexpr int kFileIndent = 14;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

// Summaries quote names of files and folders: plain text, whatever they hold.
QLabel *label(QWidget *parent, bool wrap = true)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(wrap);
    l->setStyleSheet(QStringLiteral("color: rgb(208, 210, 213);"));
    return l;
}

// A count of the summary with its caption, in a box that stands out from the sheet.
QFrame *figureBox(QWidget *parent, QLabel *caption, QLabel *figure)
{
    auto *box = new QFrame(parent);
    box->setObjectName(QStringLiteral("figureBox"));
    box->setStyleSheet(QStringLiteral("#figureBox { background: rgb(60, 67, 90); border-radius: 4px; }"));
    auto *shadow = new QGraphicsDropShadowEffect(box);
    shadow->setBlurRadius(1);
    shadow->setOffset(2, 2);
    shadow->setColor(QColor(20, 24, 15));
    box->setGraphicsEffect(shadow);
    auto *column = new QVBoxLayout(box);
    column->addWidget(caption);
    column->addWidget(figure);
    return box;
}

} // namespace

AfterTrashSummaryWindow::AfterTrashSummaryWindow(ResultState &state, QWidget *view, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_view(view)
{
    buildPhotosSummary(view);
    buildTrashSummary(view);
}

void AfterTrashSummaryWindow::buildPhotosSummary(QWidget *view)
{
    windowAfterTrash = ResultSheets::makeSheet(view, "windowAfterTrash");
    auto *column = new QVBoxLayout(windowAfterTrash);
    lblAfterTrashTopHeader = label(windowAfterTrash);
    lblNumOfPhotosTrashed = label(windowAfterTrash);
    lblSizeTrashed = label(windowAfterTrash);
    auto *middle = new QHBoxLayout;
    boxShowStepsToRemove = new QWidget(windowAfterTrash);
    boxShowStepsToRemove->setFixedWidth(kStepsWidth);
    auto *steps = new QVBoxLayout(boxShowStepsToRemove);
    steps->setContentsMargins(16, 8, 16, 8);
    lblAfterTrashStep1 = label(boxShowStepsToRemove);
    lblAfterTrashStep2 = label(boxShowStepsToRemove);
    lblAfterTrashStep3 = label(boxShowStepsToRemove);
    // The steps are drawn in the font their heights are measured in.
    for (QLabel *step : { lblAfterTrashStep1.data(), lblAfterTrashStep2.data(), lblAfterTrashStep3.data() }) {
        step->setFont(ControlFonts::systemFont(kStepFontSize));
        steps->addWidget(step);
    }
    middle->addWidget(boxShowStepsToRemove);
    lblHowToDelFromPhotoLib = label(windowAfterTrash);
    lblHowToDelFromPhotoLib->setFont(ControlFonts::systemFont(15, QFont::Bold));
    boxAlbumFile = new AlbumFileNote(windowAfterTrash);
    lblInCaseAnyMistake = label(windowAfterTrash);
    btnClosePhotoInstruction = new QPushButton(localizedString(QStringLiteral("ID_CLOSE")), windowAfterTrash);
    column->addWidget(lblAfterTrashTopHeader);
    column->addWidget(lblNumOfPhotosTrashed);
    column->addWidget(lblSizeTrashed);
    column->addWidget(lblHowToDelFromPhotoLib);
    column->addLayout(middle);
    column->addWidget(boxAlbumFile);
    column->addWidget(lblInCaseAnyMistake);
    column->addWidget(btnClosePhotoInstruction, 0, Qt::AlignRight);
    windowAfterTrash->setKeyButtons(btnClosePhotoInstruction, btnClosePhotoInstruction);
}

void AfterTrashSummaryWindow::buildTrashSummary(QWidget *view)
{
    windowAfterTrashFolderFIles = ResultSheets::makeSheet(view, "windowAfterTrashFolderFIles");
    auto *outer = new QVBoxLayout(windowAfterTrashFolderFIles);
    outer->setContentsMargins(0, 0, 0, kTrashTextMargins.bottom());
    outer->setSpacing(0);
    scrollAfterTrashFolderFiles = new QScrollArea(windowAfterTrashFolderFIles);
    scrollAfterTrashFolderFiles->setFrameShape(QFrame::NoFrame);
    scrollAfterTrashFolderFiles->setWidgetResizable(true);
    scrollAfterTrashFolderFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Reached by Tab, so the arrow keys can scroll it; a click leaves Return on the button.
    scrollAfterTrashFolderFiles->setFocusPolicy(Qt::TabFocus);
    scrollAfterTrashFolderFiles->viewport()->setAutoFillBackground(false);
    boxMainAfterTrashFolderFiles = new QWidget;
    scrollAfterTrashFolderFiles->setWidget(boxMainAfterTrashFolderFiles);
    outer->addWidget(scrollAfterTrashFolderFiles);
    auto *column = new QVBoxLayout(boxMainAfterTrashFolderFiles);
    boxFigures = new QWidget(boxMainAfterTrashFolderFiles);
    auto *grid = new QGridLayout(boxFigures);
    lblCleanupCompleted = label(boxMainAfterTrashFolderFiles);
    lblTotalDupsCleaned = label(boxMainAfterTrashFolderFiles);
    lblDeletionSuccess = label(boxMainAfterTrashFolderFiles);
    lblDuplicatesRemoved = label(boxMainAfterTrashFolderFiles);
    lblTrashCountInFolderFile = label(boxMainAfterTrashFolderFiles);
    lblSpaceRemoved = label(boxMainAfterTrashFolderFiles);
    lblTrashedSizeInFileFolder = label(boxMainAfterTrashFolderFiles);
    lblUniquePhotoRetained = label(boxMainAfterTrashFolderFiles);
    lblUniquePhotoFilesFolder = label(boxMainAfterTrashFolderFiles);
    lblDeletedImagesWillAppearLater = label(boxMainAfterTrashFolderFiles);
    lblRemovalProblems = label(boxMainAfterTrashFolderFiles);
    boxLeftInPlace = new QWidget(boxMainAfterTrashFolderFiles);
    auto *files = new QVBoxLayout(boxLeftInPlace);
    files->setContentsMargins(0, 0, 0, 0);
    files->setSpacing(2);
    lblInCaseAnyMistakeFolderFiles = label(boxMainAfterTrashFolderFiles);
    box1 = figureBox(boxMainAfterTrashFolderFiles, lblDuplicatesRemoved, lblTrashCountInFolderFile);
    box2 = figureBox(boxMainAfterTrashFolderFiles, lblSpaceRemoved, lblTrashedSizeInFileFolder);
    box3 = figureBox(boxMainAfterTrashFolderFiles, lblUniquePhotoRetained, lblUniquePhotoFilesFolder);
    grid->addWidget(box1, 0, 0);
    grid->addWidget(box2, 0, 1);
    grid->addWidget(box3, 0, 2);
    btnOkOnAfterTrash = new LinkButton(windowAfterTrashFolderFIles);
    for (QWidget *w : { static_cast<QWidget *>(lblCleanupCompleted),
             static_cast<QWidget *>(lblTotalDupsCleaned), static_cast<QWidget *>(lblDeletionSuccess) })
        column->addWidget(w);
    column->addWidget(boxFigures);
    column->addWidget(lblDeletedImagesWillAppearLater);
    column->addWidget(lblRemovalProblems);
    column->addWidget(boxLeftInPlace);
    column->addWidget(lblInCaseAnyMistakeFolderFiles);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 0, kTrashTextMargins.right(), 0);
    buttonRow->addStretch();
    buttonRow->addWidget(btnOkOnAfterTrash);
    outer->addLayout(buttonRow);
    windowAfterTrashFolderFIles->setKeyButtons(btnOkOnAfterTrash, btnOkOnAfterTrash);
    styleFolderFilesSummary(grid, column);
}

void AfterTrashSummaryWindow::styleFolderFilesSummary(QGridLayout *grid, QVBoxLayout *column)
{
    windowAfterTrashFolderFIles->setFixedWidth(kTrashSummaryWidth);
    column->setContentsMargins(kTrashTextMargins);
    column->setSpacing(10);
    grid->setContentsMargins(0, 10, 0, 10);
    grid->setHorizontalSpacing(16);
    lblCleanupCompleted->setFont(ControlFonts::systemFont(18, QFont::Bold));
    lblCleanupCompleted->setStyleSheet(QStringLiteral("color: white;"));
    // Each figure stands large under its caption.
    for (QLabel *caption : { lblDuplicatesRemoved.data(), lblSpaceRemoved.data(), lblUniquePhotoRetained.data() })
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    for (QLabel *figure :
        { lblTrashCountInFolderFile.data(), lblTrashedSizeInFileFolder.data(), lblUniquePhotoFilesFolder.data() }) {
        figure->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        figure->setFont(ControlFonts::systemFont(20, QFont::Bold));
        figure->setStyleSheet(QStringLiteral("color: white;"));
    }
}

AfterTrashInput AfterTrashSummaryWindow::currentInput() const
{
    AfterTrashInput input;
    input.isPhotosLibAdded = m_state.isPhotosLibAdded;
    input.isPhotosLibrayMarkedForTrash = m_state.isPhotosLibrayMarkedForTrash;
    input.countTrashed = m_state.countTrashed;
    input.sizeTrashed = m_state.sizeTrashed;
    input.listedInAlbum = m_state.countListedInAlbum;
    input.albumFile = boxAlbumFile ? boxAlbumFile->path() : QString();
    input.deletedFileTypes = m_state.deletedFileTypes;
    input.scanType = m_state.scanSource;
    input.languageCode = Localization::currentLanguageCode();
    input.uniquePhotosReatined = m_state.uniquePhotosReatined;
    input.nothingLeft = m_state.arrImageContent.empty();
    input.compareType = m_state.scanCompareType;
    input.skippedGroups = m_state.removalSkippedGroups;
    input.skippedInTrash = m_state.removalSkippedInTrash;
    input.failedFiles = m_state.removalFailedFiles;
    input.movedStillShown
        = std::any_of(m_state.arrGroups.begin(), m_state.arrGroups.end(), [](const auto &group) {
              return std::any_of(group->filterChildren.begin(), group->filterChildren.end(),
                  [](const auto &record) { return record->isTrashed; });
          });
    input.leftInPlace = m_state.removalLeftInPlace;
    input.stopped = m_state.removalStopped;
    input.notReached = m_state.removalNotReached;
    input.underWay = m_state.removalUnderWay;
    return input;
}

void AfterTrashSummaryWindow::showWindowAfterTrash()
{
    QPointer<AfterTrashSummaryWindow> self(this);
    Dispatch::main([self] {
        if (self)
            self->showWindowAfterTrash_Main();
    });
}

void AfterTrashSummaryWindow::showWindowAfterTrash_Main()
{
    const AfterTrashInput input = currentInput();
    const QString recovery = AfterTrashSummary::recoveryText(input);
    lblInCaseAnyMistake->setText(recovery);
    lblInCaseAnyMistakeFolderFiles->setText(recovery);
    const AfterTrashSummary::Outcome outcome = AfterTrashSummary::outcome(input);
    Log::line(
        QStringLiteral("Removal summary: %1 files, %2 bytes%3")
            .arg(input.countTrashed)
            .arg(input.sizeTrashed)
            .arg(input.isPhotosLibrayMarkedForTrash ? QStringLiteral(", library items listed in the album")
                                                    : QString()));
    if (outcome == AfterTrashSummary::Outcome::PhotosSummary) {
        const QString space = AfterTrashSummary::spaceToRecoverText(input);
        lblSizeTrashed->setText(space);
        lblSizeTrashed->setHidden(space.isEmpty());
        lblNumOfPhotosTrashed->setText(AfterTrashSummary::movedCountText(input));
    } else if (outcome == AfterTrashSummary::Outcome::TrashSummary) {
        fillTrashSummary(input);
    } else {
        fillNothingMoved(input);
    }
    if (input.nothingLeft && showNothingLeft)
        showNothingLeft(input.compareType);
    if (updateNoResultHints)
        updateNoResultHints();
    // The hints may bring back the groups of a lower matching level; only an empty window goes back.
    m_state.isAllTrashed = AfterTrashSummary::isAllTrashed(input) && m_state.arrImageContent.empty();
    fillStepLines();
    beginSummary(outcome == AfterTrashSummary::Outcome::PhotosSummary ? windowAfterTrash
                                                                      : windowAfterTrashFolderFIles);
}

void AfterTrashSummaryWindow::beginSummary(QWidget *sheet)
{
    if (!m_view)
        return;
    // Sized to its texts before it is centred over the window, or it hangs down from a stale height.
    fitToTexts(sheet);
    AlertPresenter::current().beginSheet(sheet, m_view, AlertPresenter::Blocking::None);
    const QRect area = room();
    if (area.isEmpty())
        return;
    // Centred in the results, and never over the bottom bar with its buttons.
    fitToTexts(sheet);
    QRect frame = sheet->frameGeometry();
    frame.moveCenter(area.center());
    sheet->move(FrameGeometry::fitInside(frame, area).topLeft());
}

QRect AfterTrashSummaryWindow::room() const
{
    const QScreen *screen = m_view ? m_view->screen() : nullptr;
    const QRect onScreen = screen ? screen->availableGeometry() : QRect();
    const QRect area = summaryArea ? summaryArea() : QRect();
    return area.isEmpty() ? onScreen : area.intersected(onScreen.isEmpty() ? area : onScreen);
}

void AfterTrashSummaryWindow::fitTrashSummary(const QRect &room)
{
    QWidget *sheet = windowAfterTrashFolderFIles;
    // New texts reach the layouts only by posted events: every size hint is measured anew.
    for (QWidget *child : sheet->findChildren<QWidget *>())
        child->updateGeometry();
    for (QLayout *layout : sheet->findChildren<QLayout *>())
        layout->invalidate();
    QLayout *texts = boxMainAfterTrashFolderFiles->layout();
    texts->activate();
    const int textsHeight = texts->hasHeightForWidth() ? texts->totalHeightForWidth(kTrashSummaryWidth)
                                                       : texts->totalSizeHint().height();
    const int button = btnOkOnAfterTrash->sizeHint().height() + kTrashTextMargins.bottom();
    const int limit = room.isEmpty() ? textsHeight + button : room.height();
    sheet->resize(kTrashSummaryWidth, std::min(textsHeight + button, limit));
    sheet->layout()->activate();
}

void AfterTrashSummaryWindow::fitToTexts(QWidget *sheet)
{
    if (sheet == windowAfterTrashFolderFIles) {
        fitTrashSummary(room());
        return;
    }
    // The summary that names the album file keeps within the screen however long its path.
    if (sheet == windowAfterTrash && boxAlbumFile) {
        const int natural = sheet->sizeHint().width();
        boxAlbumFile->fitSheetToScreen(sheet, m_view->screen(), natural);
        return;
    }
    sheet->adjustSize();
}

void AfterTrashSummaryWindow::fillTrashSummary(const AfterTrashInput &input)
{
    const TrashSummaryTexts t = AfterTrashSummary::trashSummaryTexts(input);
    lblCleanupCompleted->setText(text("ID_CLEANUP_COMPLETED"));
    lblTotalDupsCleaned->setText(t.totalDupsCleaned);
    lblDuplicatesRemoved->setText(t.duplicatesRemoved);
    lblDeletionSuccess->setText(t.deletionSuccess);
    lblTrashCountInFolderFile->setText(t.trashCount);
    lblTrashedSizeInFileFolder->setText(t.trashedSize);
    lblSpaceRemoved->setText(t.sizeCaption);
    lblUniquePhotoFilesFolder->setText(t.uniqueRetained);
    btnOkOnAfterTrash->setText(text("ID_BACK"));
    fillUndone(AfterTrashSummary::undoneLines(input), input, true);
    lblDeletedImagesWillAppearLater->setVisible(input.movedStillShown);
}

void AfterTrashSummaryWindow::fillNothingMoved(const AfterTrashInput &input)
{
    lblCleanupCompleted->setText(AfterTrashSummary::nothingMovedMessage(input));
    btnOkOnAfterTrash->setText(text("ID_OK"));
    fillUndone(AfterTrashSummary::nothingMovedLines(input), input, false);
    lblDeletedImagesWillAppearLater->hide();
}

void AfterTrashSummaryWindow::fillUndone(const QStringList &lines, const AfterTrashInput &input, bool moved)
{
    // What only a run that moved files has to tell.
    for (QWidget *part :
        { static_cast<QWidget *>(lblTotalDupsCleaned), static_cast<QWidget *>(lblDeletionSuccess),
            static_cast<QWidget *>(boxFigures), static_cast<QWidget *>(lblInCaseAnyMistakeFolderFiles) })
        part->setVisible(moved);
    lblRemovalProblems->setText(lines.join(QLatin1Char('\n')));
    lblRemovalProblems->setHidden(lines.isEmpty());
    fillLeftInPlace(input);
    // A new summary starts at its top.
    scrollAfterTrashFolderFiles->verticalScrollBar()->setValue(0);
}

void AfterTrashSummaryWindow::fillLeftInPlace(const AfterTrashInput &input)
{
    qDeleteAll(boxLeftInPlace->findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
    QLayout *column = boxLeftInPlace->layout();
    // Every file, however many: the sheet scrolls.
    const LeftInPlaceList left = AfterTrashSummary::leftInPlace(input);
    // A reason may quote a path longer than a line: it breaks at its separators, or anywhere if it must.
    const int width = kTrashSummaryWidth - kTrashTextMargins.left() - kTrashTextMargins.right()
        - scrollAfterTrashFolderFiles->verticalScrollBar()->sizeHint().width();
    for (const LeftInPlaceList::Reason &reason : left.reasons) {
        QLabel *why = label(boxLeftInPlace);
        const QString line = formatText(text("ID_FILES_LEFT_IN_PLACE_BECAUSE"), reason.why);
        why->setText(LineBreaks::withinWidth(LineBreaks::atSeparatorsOnly(line), why->font(), width));
        column->addWidget(why);
        // Each file on a line of its own, shortened in its middle when it is longer: its name shows.
        for (const QString &path : reason.paths) {
            auto *file = new ElidingLabel(Qt::ElideMiddle, boxLeftInPlace);
            // By its palette: a style sheet would colour its tip's text too, light on the light tip.
            QPalette colours = file->palette();
            colours.setColor(QPalette::WindowText, QColor(208, 210, 213));
            file->setPalette(colours);
            file->setContentsMargins(kFileIndent, 0, 0, 0);
            file->setWholeText(path);
            column->addWidget(file);
        }
    }
    // Shown now, not when the layout gets round to it: the sheet is measured with them at once.
    for (QWidget *line : boxLeftInPlace->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        line->show();
    boxLeftInPlace->setHidden(left.reasons.empty());
}

void AfterTrashSummaryWindow::fillStepLines()
{
    lblAfterTrashStep2->setText(AfterTrashSummary::step2Text());
    lblAfterTrashStep3->setText(AfterTrashSummary::step3Text());
}
