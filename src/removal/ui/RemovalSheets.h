// The removal road of the results window: the confirmation sheet (windowConfirmTrash), the routing,
// the progress sheet with Stop (windowTrash) and the end of a run. The run itself is RemovalRun; this
// class owns it, shows its progress and keeps the window blocked until its worker has ended.
#pragma once

#include <functional>
#include <memory>

#include <QCheckBox>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "controls/CFMButton.h"
#include "controls/CustomWindowNag.h"
#include "controls/IMGButton.h"
#include "removal/RemovalRouteTexts.h"
#include "results/ui/TrashMarkedActions.h"

class LibraryAlbumRoute;
class PhotosGuide;
class PhotosLibraryBridge;
class RemovalRoutes;
class RemovalRun;
class ResultViewController;

class RemovalSheets : public QObject, public TrashMarkedActions
{
    Q_OBJECT
public:
    RemovalSheets(
        ResultViewController &controller, std::shared_ptr<RemovalRoutes> routes, QObject *parent = nullptr);
    ~RemovalSheets() override;

    // Makes the removal side of `controller` (a child of it) and installs it there.
    static RemovalSheets *install(ResultViewController &controller);

    void confirmMoveToTrash() override;
    void proceedToTrash() override;
    void reviewBeforeTrash() override;
    void moveToTrashAfterConfirmation() override;

    // Starts the run with its progress sheet; refused while a run exists.
    void trashFileAfterConfirmation();
    void updateTrashCount();
    void stopTrash();
    void finishTrash();

    // The sheets, built on first use.
    void ensureSheets();
    RemovalRun &run() { return *m_run; }
    RemovalRoutes &routes() { return *m_routes; }
    // The guide for library items (null before the sheets are built).
    PhotosGuide *guide() const;
    LibraryAlbumRoute &libraryRoute() { return *m_libraryRoute; }
    // The photo-library bridge of the album route and the guide (the local album store by default).
    void setPhotosBridge(std::shared_ptr<PhotosLibraryBridge> bridge);

    QPointer<CustomWindowNag> windowConfirmTrash, windowTrash;
    QPointer<QWidget> boxMainTrashConfirmation, boxDeleteHeader, boxTrash, boxTrashWindow, boxTopTrashWindow;
    QPointer<QLabel> lblAreYouSureWantToDelete, lblReviewPhotoBeforeTrash, imgViewWindowBeforeTrash;
    QPointer<QCheckBox> dontShowConfirmationDialogue;
    QPointer<CFMButton> btnReview;
    QPointer<IMGButton> btnTrash;
    QPointer<QLabel> lblTrashPhotos, lblFileCountTrash;
    QPointer<QProgressBar> indTrash, indicatorStop;
    QPointer<QPushButton> btnStopTrashing;

signals:
    // A run has ended and the results were refreshed; the summary follows 0.05 s later.
    void trashFinished();

private:
    void buildConfirmTrash(QWidget *view);
    void buildTrash(QWidget *view);
    void setIndicatorStopShown(bool shown);
    // The library step of the finish; false when the run ends there without a summary.
    bool finishLibraryItems();
    void alert(const char *messageKey, const char *informativeKey);

    ResultViewController &m_c;
    std::shared_ptr<RemovalRoutes> m_routes;
    std::unique_ptr<RemovalRun> m_run;
    std::shared_ptr<PhotosLibraryBridge> m_bridge;
    // What the running removal was started on, by route, for its progress lines.
    RemovalRouteTexts::Shares m_runShares {};
    std::shared_ptr<LibraryAlbumRoute> m_libraryRoute;
    QPointer<PhotosGuide> m_guide;
};
