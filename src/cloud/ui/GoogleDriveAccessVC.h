// The Google Drive controller: the sign-in sheet with its instructions and the browser sign-in,
// the "My Drive" folder window from which folders go to the scan list, and (for a scan) the
// listing of the chosen folders. The main window makes one, sets itself as the delegate and shows
// the two windows as sheets; this class closes them. GUI thread only.
#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>

#include "cloud/GoogleSignIn.h"
#include "model/FilePathNode.h"

class CFMButton;
class DriveFolderModel;
class DriveFolderTree;
class DriveListing;
class DriveService;
class DriveSource;
class ExternalUserAgentSession;
class GDFoldersList;
class GoogleDriveAccessDelegate;
class QFrame;
class QLabel;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTreeView;
class QWidget;
class TokenSource;

class GoogleDriveAccessVC : public QObject
{
    Q_OBJECT
public:
    // The process's Drive service and the configured sign-in.
    explicit GoogleDriveAccessVC(QObject *parent = nullptr);
    GoogleDriveAccessVC(DriveService &service, GoogleSignIn::Settings settings, QObject *parent = nullptr);
    ~GoogleDriveAccessVC() override;

    // The sign-in sheet; the first call builds both windows and runs windowDidLoad().
    QWidget *window();

    QPointer<QFrame> boxInstruction;
    QPointer<QLabel> lblDriveInfoHeader, lblDriveInfoSteps, lblDriveInfoSteps1, lblDriveInfoSteps1Sub,
        lblDriveInfoSteps2, lblDriveInfoSteps2Sub, lblDriveInfoSteps3, lblDriveInfoSteps3Sub;
    QPointer<CFMButton> btnAllowPermission, btnScanComputer, btnCancelPermission;
    QPointer<QWidget> windowFolderList;
    QPointer<QFrame> boxFolderList;
    QPointer<QTreeView> outlineGDFolderList;
    QPointer<QProgressBar> hudFolderList;
    QPointer<CFMButton> btnCancelGDrive, btnAddFolderGDrive;
    QPointer<QLabel> lblIncludeToScan;
    QPointer<QPushButton> btnRefreshGDriveFolderList;

    GoogleDriveAccessDelegate *delegate = nullptr;
    // The Drive scan list as this controller keeps it across switches of source.
    std::vector<FilePathNode> arrPathNodesToScan;
    std::shared_ptr<GDFoldersList> lastSelectedGoogleDrivePath;
    // The real identifier of "My Drive", learned from the first answer that shows it.
    QString rootDriveFolderId;

    // Signed in: the tokens of the last successful sign-in.
    std::shared_ptr<TokenSource> authorization() const { return m_signIn->authorization(); }
    GoogleSignIn &signIn() { return *m_signIn; }
    DriveFolderTree &folderTree() { return *m_tree; }
    // The scan source of Google Drive; its listing shares the root identifier with the tree.
    std::shared_ptr<DriveSource> source() const { return m_source; }
    DriveListing &listing();
    DriveService &driveService() { return m_service; }
    // The root of the folder tree ("My Drive"), null until it is first loaded.
    std::shared_ptr<GDFoldersList> gdFolderObj() const;

    // Sign-in sheet.
    void windowDidLoad();
    void btnAllowPermissionTapped();
    void btnScanComputerTapped();
    void btnClosePermissionSheet();
    void showAuthorizationErrorAlert(const QString &description);

    // Folder window.
    void setFolderListTexts();
    void btnRefreshGDriveFolderListTapped();
    void btnAddFolderTapped();
    void btnCancelFolderListTapped();
    void outlineViewItemDidExpand(const QModelIndex &index);
    void outlineViewSelectionDidChange();
    void setFolderListBusy(bool finished);
    // Redraws the outline, keeping what was open and selected.
    void reloadFolderOutline();

signals:
    // For the application's URL events: the flow that waits for the browser now.
    void authorizationFlowStarted(std::shared_ptr<ExternalUserAgentSession> flow);
    // The sheet was closed after a sign-in that succeeded or failed.
    void signInFinished(bool signedIn);

private:
    void connectSignIn();
    void connectWindows();
    void applyLanguageFitting();
    void closeSheet(QWidget *sheet);
    void showFolderListProgress(bool finished);

    DriveService &m_service;
    std::unique_ptr<GoogleSignIn> m_signIn;
    std::unique_ptr<DriveFolderTree> m_tree;
    std::shared_ptr<DriveSource> m_source;
    QPointer<QWidget> m_window;
    DriveFolderModel *m_folderModel = nullptr;
    bool m_restoringOutline = false;
};
