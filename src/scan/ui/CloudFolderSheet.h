// The Dropbox folder sheet of the main window: the account's folder tree, listed lazily one folder
// at a time by the Dropbox source, from which the user adds folders to the scan list. The outline
// shows a copy of the tree taken whenever a listing has ended, so it never reads a folder the
// source's thread is still filling; one folder is listed at a time.
#pragma once

#include <memory>

#include <QHash>
#include <QList>
#include <QObject>

class CloudScanFoldersList;
class DropBoxHandler;
class MainWindowHost;
struct MainWindowWidgets;
struct ScanListState;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;

class CloudFolderSheet : public QObject
{
    Q_OBJECT
public:
    CloudFolderSheet(MainWindowWidgets &widgets, ScanListState &state, MainWindowHost &host);
    ~CloudFolderSheet() override;

    // Once the view exists: the outline's model and the sheet's buttons.
    void connectActions();
    QStandardItemModel *model() const;

    // Opens the sheet; lists the root when the tree is new or files were deleted since.
    void getFolderList(const std::shared_ptr<DropBoxHandler> &handler);
    void btnAddFolderCloudScanTapped();
    void btnCloseCloudScanFolderList();
    void btnRefreshCloudScanFolderListTapped();
    void reloadCloudFolderList();
    void outlineViewItemDidExpand(const QModelIndex &index);
    void outlineViewSelectionDidChange();
    // A folder's listing has ended (GUI thread).
    void dropboxListingFinished();
    // Starts (false) or stops (true) the busy state of the sheet.
    void setCloudFolderListBusy(bool stop);
    bool isListing() const { return m_listing != nullptr; }

    // A new root "Dropbox" for the window, with the scan list's folders emptied so that the next
    // scan lists them anew.
    static void rebuildTree(ScanListState &state, DropBoxHandler *handler);
    // The outline from the window's current tree, nothing selected.
    void resetModel();

private:
    std::shared_ptr<DropBoxHandler> handler() const;
    QStandardItem *makeItem(const std::shared_ptr<CloudScanFoldersList> &node);
    void fillChildren(QStandardItem *item, const CloudScanFoldersList &node);
    std::shared_ptr<CloudScanFoldersList> nodeAt(const QModelIndex &index) const;
    void listFolder(const std::shared_ptr<CloudScanFoldersList> &node);
    void showSheet();

    MainWindowWidgets &c;
    ScanListState &state;
    MainWindowHost &host;
    std::unique_ptr<QStandardItemModel> m_model;
    QList<std::shared_ptr<CloudScanFoldersList>> m_nodes;
    QHash<const CloudScanFoldersList *, QStandardItem *> m_items;
    std::shared_ptr<CloudScanFoldersList> m_listing;
};
