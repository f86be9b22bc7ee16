// Confirmation, routing, progress, Stop and the end of a removal run in the results window.
#include "removal/ui/RemovalSheets.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "cloud/DriveService.h"
#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/LineBreaks.h"
#include "platform/LocalAlbumStore.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/VariantNumber.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/FrameGeometry.h"
#include "removal/LibraryAlbumRoute.h"
#include "removal/RemovalRouteFactory.h"
#include "removal/RemovalRouteTexts.h"
#include "removal/RemovalRoutes.h"
#include "removal/RemovalRun.h"
#include "removal/ui/PhotosGuide.h"
#include "results/ResultTexts.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/OutlineList.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultWindowBuilder.h"
#include <QStyle>

namespace
{

const QString kNoConfirmationKey = QStringLiteral("doNotShowConfirmationDialogOnTrash");
constexpr double kSummaryDelay = 0.05;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

constexpr int kConfirmTrashWidth = 480;
constexpr int kTrashIconSize = 48;
const QMargins kSheetMargins(24, 20, 24, 18);

void setTextWithin(QLabel *label, const QString &text, int width)
{
    label->setText(LineBreaks::withinWidth(LineBreaks::atSeparatorsOnly(text), label->font(), width));
}

QLabel *wrappingLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

// A hidden sheet `width` wide, the content box filling it, and the column of the box's controls.
QVBoxLayout *sheetColumn(
    QWidget *view, const char *name, int width, QPointer<CustomWindowNag> &window, QPointer<QWidget> &box)
{
    window = ResultSheets::makeSheet(view, name);
    window->setFixedWidth(width);
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    box = new QWidget(window);
    outer->addWidget(box);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(kSheetMargins);
    column->setSpacing(10);
    return column;
}

// The first marked library item of the shown groups that is not removed yet.
bool hasMarkedLibraryItem(const ResultViewController &c)
{
    for (const auto &group : c.arrGroups) {
        for (const auto &member : group->filterChildren) {
            if (member->isPhotosNode && member->isMark && !member->isTrashed)
                return true;
        }
    }
    return false;
}

} // namespace

RemovalSheets::RemovalSheets(
    ResultViewController &controller, std::shared_ptr<RemovalRoutes> routes, QObject *parent)
    : QObject(parent)
    , m_c(controller)
    , m_routes(std::move(routes))
    , m_run(std::make_unique<RemovalRun>(controller, m_routes))
{
    connect(m_run.get(), &RemovalRun::countsChanged, this, &RemovalSheets::updateTrashCount);
    connect(m_run.get(), &RemovalRun::finished, this, &RemovalSheets::finishTrash);
    setPhotosBridge(std::make_shared<LocalAlbumStore>());
}

PhotosGuide *RemovalSheets::guide() const
{
    return m_guide;
}

void RemovalSheets::setPhotosBridge(std::shared_ptr<PhotosLibraryBridge> bridge)
{
    m_bridge = std::move(bridge);
    m_libraryRoute = RemovalRouteFactory::libraryRoute(m_bridge, ScanGlobals::markedPhotosAlbumName());
    QPointer<ResultViewController> c(&m_c);
    const QString albumFile = PhotosGuide::albumFilePath(m_bridge.get());
    // The worker waits until the user has answered on the GUI thread.
    m_libraryRoute->showNotRunningAlert = [c, albumFile] {
        Dispatch::mainSync([c, albumFile] {
            AlertSpec alert;
            alert.messageText = ResultTexts::albumFolderNotWritable(albumFile);
            alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
            AlertPresenter::current().runAlert(alert, c ? c->view() : nullptr);
        });
    };
    m_routes->setRoute(RemovalRoutes::Kind::LibraryAlbum, m_libraryRoute);
    if (m_guide)
        m_guide->setBridge(m_bridge);
}

// The run is destroyed first: it waits for its worker, which must not outlive the routes.
RemovalSheets::~RemovalSheets()
{
    m_run.reset();
}

RemovalSheets *RemovalSheets::install(ResultViewController &controller)
{
    // The sheets plug in their own library route, with its alert, once they exist.
    const auto routes = RemovalRouteFactory::make(
        { [&controller] { return controller.scanWrapper; }, &DriveService::shared(), nullptr, QString() });
    auto *sheets = new RemovalSheets(controller, routes, &controller);
    controller.setTrashActions(sheets);
    return sheets;
}

void RemovalSheets::ensureSheets()
{
    if (windowConfirmTrash)
        return;
    QWidget *view = m_c.view();
    buildConfirmTrash(view);
    buildTrash(view);
    if (auto *builder = m_c.findChild<ResultWindowBuilder *>()) {
        builder->sheets().trashFileAfterConfirmation = [this] { trashFileAfterConfirmation(); };
        m_guide = new PhotosGuide(m_c, builder->sheets(), m_bridge, this);
    }
}

void RemovalSheets::buildConfirmTrash(QWidget *view)
{
    QVBoxLayout *column
        = sheetColumn(view, "windowConfirmTrash", kConfirmTrashWidth, windowConfirmTrash, boxMainTrashConfirmation);
    boxDeleteHeader = new QWidget(boxMainTrashConfirmation);
    auto *header = new QHBoxLayout(boxDeleteHeader);
    header->setContentsMargins(0, 0, 0, 0);
    imgViewWindowBeforeTrash = new QLabel(boxDeleteHeader);
    imgViewWindowBeforeTrash->setPixmap(
        view->style()->standardIcon(QStyle::SP_TrashIcon).pixmap(QSize(kTrashIconSize, kTrashIconSize)));
    lblAreYouSureWantToDelete = wrappingLabel(boxDeleteHeader);
    lblAreYouSureWantToDelete->setFont(ControlFonts::systemFont(15, QFont::Bold));
    header->addWidget(imgViewWindowBeforeTrash, 0, Qt::AlignTop);
    header->addWidget(lblAreYouSureWantToDelete, 1);
    lblReviewPhotoBeforeTrash = wrappingLabel(boxMainTrashConfirmation);
    lblReviewPhotoBeforeTrash->setText(text("ID_REVIEW_PHOTOS_BEFORE_TRASH_WARNING"));
    dontShowConfirmationDialogue = new QCheckBox(text("ID_DONT_SHOW_AGAIN"), boxMainTrashConfirmation);
    ControlStyles::styleChoiceButton(dontShowConfirmationDialogue);
    btnReview = new CFMButton(boxMainTrashConfirmation);
    btnReview->setText(text("ID_REVIEW"));
    btnReview->setFixedSize(110, 32);
    ControlStyles::styleFlatButton(btnReview, ControlStyles::stopAddingPhotosStyle());
    btnTrash = new IMGButton(boxMainTrashConfirmation);
    btnTrash->setText(text("ID_TRASH_PHOTOS"));
    btnTrash->setFixedSize(150, 32);
    ControlStyles::styleSheetImageButton(btnTrash, QStringLiteral("blue_btn_sm"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(dontShowConfirmationDialogue, 1);
    buttons->addWidget(btnReview);
    buttons->addWidget(btnTrash);
    column->addWidget(boxDeleteHeader);
    column->addWidget(lblReviewPhotoBeforeTrash);
    column->addSpacing(6);
    column->addLayout(buttons);
    windowConfirmTrash->setKeyButtons(btnTrash, btnReview);
    connect(btnTrash, &QAbstractButton::clicked, this, [this] { m_c.proceedToTrash(); });
    connect(btnReview, &QAbstractButton::clicked, this, [this] { m_c.reviewBeforeTrash(); });
}

void RemovalSheets::buildTrash(QWidget *view)
{
    QVBoxLayout *column = sheetColumn(view, "windowTrash", 460, windowTrash, boxTrash);
    boxTopTrashWindow = new QWidget(boxTrash);
    auto *top = new QVBoxLayout(boxTopTrashWindow);
    top->setContentsMargins(0, 0, 0, 0);
    lblTrashPhotos = wrappingLabel(boxTopTrashWindow);
    lblTrashPhotos->setFont(ControlFonts::systemFont(15, QFont::Bold));
    top->addWidget(lblTrashPhotos);
    boxTrashWindow = new QWidget(boxTrash);
    auto *body = new QVBoxLayout(boxTrashWindow);
    body->setContentsMargins(0, 0, 0, 0);
    lblFileCountTrash = wrappingLabel(boxTrashWindow);
    indTrash = new QProgressBar(boxTrashWindow);
    indTrash->setTextVisible(false);
    body->addWidget(indTrash);
    body->addWidget(lblFileCountTrash);
    // A busy bar stands for the spinner shown while a stopped run finishes its current file.
    indicatorStop = new QProgressBar(boxTrash);
    indicatorStop->setFixedSize(60, 8);
    indicatorStop->setTextVisible(false);
    btnStopTrashing = new QPushButton(text("ID_STOP"), boxTrash);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(indicatorStop, 0, Qt::AlignVCenter);
    buttons->addWidget(btnStopTrashing);
    column->addWidget(boxTopTrashWindow);
    column->addWidget(boxTrashWindow);
    column->addLayout(buttons);
    windowTrash->setCancelButton(btnStopTrashing);
    connect(btnStopTrashing, &QPushButton::clicked, this, &RemovalSheets::stopTrash);
}

void RemovalSheets::confirmMoveToTrash()
{
    if (m_run->isRunning())
        return;
    ensureSheets();
    const QVariant suppressed = UserDefaults::standard().objectForKey(kNoConfirmationKey);
    // Only a stored true skips the question; anything else, a damaged value too, asks.
    if (VariantNumber::isNumber(suppressed) && suppressed.toBool()) {
        moveToTrashAfterConfirmation();
        return;
    }
    dontShowConfirmationDialogue->setChecked(false);
    // Each route in its own words: the Trash, the album file, or the provider's deleted files.
    const RemovalRouteTexts::Shares shares = RemovalRouteTexts::markedShares(m_c);
    // The sheet keeps its width: a path longer than a line breaks at its separators, or anywhere if it
    // must, instead of widening the text past the sheet's edge.
    const int textWidth = kConfirmTrashWidth - kSheetMargins.left() - kSheetMargins.right();
    setTextWithin(lblAreYouSureWantToDelete,
        RemovalRouteTexts::question(shares, ScanGlobals::markedPhotosAlbumName()),
        textWidth - kTrashIconSize - std::max(0, boxDeleteHeader->layout()->spacing()));
    setTextWithin(lblReviewPhotoBeforeTrash,
        RemovalRouteTexts::reviewNote(shares, PhotosGuide::albumFilePath(m_bridge.get())), textWidth);
    btnTrash->setText(RemovalRouteTexts::proceedTitle(shares));
    // A question about two parts of a removal runs longer: the sheet grows to its texts.
    FrameGeometry::fitToTexts(windowConfirmTrash, m_c.view()->screen(), windowConfirmTrash->width());
    AlertPresenter &presenter = AlertPresenter::current();
    presenter.beginSheet(windowConfirmTrash, m_c.view());
    presenter.runModalForWindow(windowConfirmTrash);
}

void RemovalSheets::proceedToTrash()
{
    QPointer<ResultViewController> c(&m_c);
    Dispatch::main([c] {
        if (c)
            c->updateFooterInfo();
    });
    if (dontShowConfirmationDialogue && dontShowConfirmationDialogue->isChecked())
        UserDefaults::standard().setObject(kNoConfirmationKey, true);
    AlertPresenter::current().stopModal();
    windowConfirmTrash->hide();
    AlertPresenter::current().endSheet(windowConfirmTrash);
    m_c.deletedFileTypes = GlobalObjects::TypeSupport::ALLFILES;
    moveToTrashAfterConfirmation();
}

void RemovalSheets::reviewBeforeTrash()
{
    QPointer<ResultViewController> c(&m_c);
    Dispatch::main([c] {
        if (c)
            c->updateFooterInfo();
    });
    AlertPresenter::current().stopModal();
    windowConfirmTrash->hide();
    AlertPresenter::current().endSheet(windowConfirmTrash);
}

void RemovalSheets::moveToTrashAfterConfirmation()
{
    m_c.isPhotosLibrayMarkedForTrash = hasMarkedLibraryItem(m_c);
    if (m_c.isPhotosLibrayMarkedForTrash && m_c.isPhotosLibAdded && m_guide) {
        m_guide->showGuide();
        return;
    }
    trashFileAfterConfirmation();
}

void RemovalSheets::trashFileAfterConfirmation()
{
    if (m_run->isRunning())
        return;
    ensureSheets();
    setIndicatorStopShown(false);
    btnStopTrashing->setEnabled(true);
    const int marked = m_c.countMarked;
    m_runShares = RemovalRouteTexts::markedShares(m_c);
    if (!m_run->start())
        return;
    indTrash->setRange(0, std::max(1, marked));
    indTrash->setValue(0);
    updateTrashCount();
    AlertPresenter::current().beginSheet(windowTrash, m_c.view());
}

void RemovalSheets::updateTrashCount()
{
    if (!lblTrashPhotos)
        return;
    lblTrashPhotos->setText(
        RemovalRouteTexts::progressTitle(m_runShares, ScanGlobals::markedPhotosAlbumName()));
    lblFileCountTrash->setText(
        RemovalRouteTexts::progressCount(m_runShares, m_c.countTrashed, m_c.sizeTrashed));
    indTrash->setValue(std::min(m_c.countTrashed, indTrash->maximum()));
}

void RemovalSheets::stopTrash()
{
    m_c.fillMetaDataTable(nullptr);
    m_c.changeAllComponentsOnMainThread(nullptr, true);
    m_run->requestStop();
    btnStopTrashing->setEnabled(false);
    setIndicatorStopShown(true);
    // The sheet stays until the worker has ended: until then a file may still be on its way.
}

void RemovalSheets::setIndicatorStopShown(bool shown)
{
    indicatorStop->setVisible(shown);
    // A range of 0..0 makes the bar run as a busy indicator.
    indicatorStop->setRange(0, shown ? 0 : 1);
}

void RemovalSheets::finishTrash()
{
    windowTrash->hide();
    AlertPresenter::current().endSheet(windowTrash);
    setIndicatorStopShown(false);
    const bool summary = finishLibraryItems();
    // The refresh it queues reloads the grid or the outline list, whichever shows.
    m_c.applyMatchingLevel();
    // The run may have given the file-type filter up for groups of the other types.
    m_c.showFileTypeChoice();
    if (!summary) {
        // Files of this computer may have gone meanwhile: the window is refreshed, without a summary.
        m_c.updateFooterInfo();
        emit trashFinished();
        return;
    }
    QPointer<ResultViewController> c(&m_c);
    Dispatch::mainAfter(kSummaryDelay, [c] {
        if (c)
            c->showWindowAfterTrash();
    });
    emit trashFinished();
}

void RemovalSheets::alert(const char *messageKey, const char *informativeKey)
{
    AlertSpec spec;
    spec.messageText = text(messageKey);
    spec.informativeText = informativeKey ? text(informativeKey) : QString();
    spec.buttons = { text("ID_OK_CAPS") };
    AlertPresenter::current().runAlert(spec, m_c.view());
}

bool RemovalSheets::finishLibraryItems()
{
    if (m_run->summary().deferred == 0 || !m_c.isPhotosLibrayMarkedForTrash)
        return true;
    const LibraryAlbumRoute::Ending ending = m_libraryRoute->ending();
    m_c.isAppAutharizedToMoveDups = ending.notAuthorized;
    if (ending.photosNotRunning) {
        alert("ID_UNABLE_TO_MARK_DUPLICATES", "ID_QNY_NEED_RUN_WHILE_MARKING_DUPLICATES");
        return false;
    }
    if (ending.albumFailed)
        alert("ID_LIBRARY_ITEMS_NOT_MOVED", nullptr);
    if (m_c.isAppAutharizedToMoveDups && m_guide)
        m_guide->showAuthorizationWindow();
    return true;
}
