#include "scan/ui/CloudFolderSheet.h"

#include <QItemSelectionModel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include "cloud/DropBoxHandler.h"
#include "controls/CFMButton.h"
#include "controls/TallRowDelegate.h"
#include "model/CloudScanFoldersList.h"
#include "platform/OutsideText.h"
#include "platform/ui/AlertPresenter.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/MainWindowHost.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanListState.h"

namespace
{

constexpr int kNodeRole = Qt::UserRole + 1;
constexpr int kUnlistedRole = Qt::UserRole + 2;

// An unlisted folder shows its disclosure triangle before anything is known about its children.
class FolderTreeModel : public QStandardItemModel
{
public:
    bool hasChildren(const QModelIndex &parent) const override
    {
        if (parent.isValid() && parent.data(kUnlistedRole).toBool())
            return true;
        return QStandardItemModel::hasChildren(parent);
    }
};

void emptyListing(CloudScanFoldersList &folder)
{
    folder.arrChildren.clear();
    folder.listedFiles = {};
    folder.isAllFilesFetched = false;
}

} // namespace

CloudFolderSheet::CloudFolderSheet(MainWindowWidgets &widgets, ScanListState &listState, MainWindowHost &windowHost)
    : c(widgets)
    , state(listState)
    , host(windowHost)
    , m_model(std::make_unique<FolderTreeModel>())
{
}

CloudFolderSheet::~CloudFolderSheet() = default;

QStandardItemModel *CloudFolderSheet::model() const
{
    return m_model.get();
}

void CloudFolderSheet::connectActions()
{
    QTreeView *outline = c.outlineCloudFolderList;
    outline->setModel(m_model.get());
    outline->setHeaderHidden(true);
    outline->setItemDelegate(new TallRowDelegate(outline));
    outline->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(outline, &QTreeView::expanded, this, &CloudFolderSheet::outlineViewItemDidExpand);
    connect(outline->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &CloudFolderSheet::outlineViewSelectionDidChange);
    connect(c.btnAddFolderCloudScan, &QAbstractButton::clicked, this,
        &CloudFolderSheet::btnAddFolderCloudScanTapped);
    connect(c.btnCancelCloudFolderScan, &QAbstractButton::clicked, this,
        &CloudFolderSheet::btnCloseCloudScanFolderList);
    connect(c.btnRefreshCloudScanFolderList, &QAbstractButton::clicked, this,
        &CloudFolderSheet::btnRefreshCloudScanFolderListTapped);
    c.btnRefreshCloudScanFolderList->setText(QStringLiteral("\u21bb"));
    c.btnAddFolderCloudScan->setEnabled(false);
}

std::shared_ptr<DropBoxHandler> CloudFolderSheet::handler() const
{
    return std::dynamic_pointer_cast<DropBoxHandler>(state.scanWrapper);
}

void CloudFolderSheet::rebuildTree(ScanListState &state, DropBoxHandler *handler)
{
    auto root = std::make_shared<CloudScanFoldersList>();
    root->folderName = QStringLiteral("Dropbox");
    root->folderPath = QStringLiteral("Dropbox");
    state.cloudRootObj = root;
    for (const FilePathNode &node : state.arrPathNodeGoogleDrive) {
        if (node.cloudFolder)
            emptyListing(*node.cloudFolder);
    }
    if (handler)
        handler->isFileDeletedFromCloudDrive = false;
}

void CloudFolderSheet::getFolderList(const std::shared_ptr<DropBoxHandler> &source)
{
    if (source && !isListing() && (!state.cloudRootObj || source->isFileDeletedFromCloudDrive.load())) {
        source->isCompletListFetch = false;
        rebuildTree(state, source.get());
        resetModel();
        listFolder(state.cloudRootObj);
    }
    showSheet();
}

void CloudFolderSheet::showSheet()
{
    AddingSheet::showSheet(host.view(), c.windowCloudFolderList, c.boxCloudFolderList);
}

void CloudFolderSheet::resetModel()
{
    m_model->clear();
    m_nodes.clear();
    m_items.clear();
    if (state.cloudRootObj)
        m_model->appendRow(makeItem(state.cloudRootObj));
    if (c.outlineCloudFolderList)
        c.outlineCloudFolderList->clearSelection();
    c.btnAddFolderCloudScan->setEnabled(false);
}

QStandardItem *CloudFolderSheet::makeItem(const std::shared_ptr<CloudScanFoldersList> &node)
{
    auto *item = new QStandardItem(OutsideText::name(node->folderName));
    item->setEditable(false);
    item->setData(int(m_nodes.size()), kNodeRole);
    item->setData(!node->isAllFilesFetched, kUnlistedRole);
    m_nodes.append(node);
    m_items.insert(node.get(), item);
    fillChildren(item, *node);
    return item;
}

void CloudFolderSheet::fillChildren(QStandardItem *item, const CloudScanFoldersList &node)
{
    item->removeRows(0, item->rowCount());
    item->setData(!node.isAllFilesFetched, kUnlistedRole);
    for (const auto &child : node.arrChildren)
        item->appendRow(makeItem(child));
}

std::shared_ptr<CloudScanFoldersList> CloudFolderSheet::nodeAt(const QModelIndex &index) const
{
    const QVariant slot = index.data(kNodeRole);
    if (!slot.isValid())
        return nullptr;
    const int at = slot.toInt();
    return at >= 0 && at < m_nodes.size() ? m_nodes.at(at) : nullptr;
}

void CloudFolderSheet::listFolder(const std::shared_ptr<CloudScanFoldersList> &node)
{
    const std::shared_ptr<DropBoxHandler> source = handler();
    if (!source || !node || isListing())
        return;
    m_listing = node;
    setCloudFolderListBusy(false);
    source->isCompletListFetch = false;
    source->collectFilesOfFolder(node);
}

void CloudFolderSheet::outlineViewItemDidExpand(const QModelIndex &index)
{
    const std::shared_ptr<CloudScanFoldersList> node = nodeAt(index);
    if (!node || m_model->itemFromIndex(index)->rowCount() > 0 || !index.data(kUnlistedRole).toBool())
        return;
    c.btnAddFolderCloudScan->setEnabled(false);
    listFolder(node);
}

void CloudFolderSheet::dropboxListingFinished()
{
    const std::shared_ptr<CloudScanFoldersList> listed = std::exchange(m_listing, nullptr);
    setCloudFolderListBusy(true);
    if (!listed)
        return;
    QStandardItem *item = m_items.value(listed.get());
    if (!item)
        return;
    // A folder that turned out empty loses its triangle; one whose listing failed keeps it.
    fillChildren(item, *listed);
    c.outlineCloudFolderList->expand(item->index());
}

void CloudFolderSheet::setCloudFolderListBusy(bool stop)
{
    if (stop)
        c.hudCloudFolderList->hide();
    else
        c.hudCloudFolderList->show();
    c.btnCancelCloudFolderScan->setEnabled(true);
    // A refresh while a folder lists would empty the folders the listing is filling.
    c.btnRefreshCloudScanFolderList->setEnabled(stop);
}

void CloudFolderSheet::outlineViewSelectionDidChange()
{
    c.btnAddFolderCloudScan->setEnabled(false);
    const QModelIndexList rows = c.outlineCloudFolderList->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    if (const std::shared_ptr<CloudScanFoldersList> node = nodeAt(rows.first())) {
        state.lastSelectedCloudPath = node;
        c.btnAddFolderCloudScan->setEnabled(true);
    }
}

void CloudFolderSheet::btnCloseCloudScanFolderList()
{
    AlertPresenter::current().endSheet(c.windowCloudFolderList);
}

void CloudFolderSheet::btnRefreshCloudScanFolderListTapped()
{
    if (isListing())
        return;
    setCloudFolderListBusy(false);
    if (state.cloudRootObj)
        state.cloudRootObj->listedFiles = {};
    c.btnRefreshCloudScanFolderList->setEnabled(false);
    state.cloudRootObj.reset();
    reloadCloudFolderList();
}

void CloudFolderSheet::reloadCloudFolderList()
{
    const std::shared_ptr<DropBoxHandler> source = handler();
    if (source && (!state.cloudRootObj || source->isFileDeletedFromCloudDrive.load())) {
        // Deletions stay flagged: the next scan lists its folders anew.
        rebuildTree(state, nullptr);
        resetModel();
        setCloudFolderListBusy(true);
    }
    showSheet();
}

void CloudFolderSheet::btnAddFolderCloudScanTapped()
{
    AlertPresenter::current().endSheet(c.windowCloudFolderList);
    const std::shared_ptr<CloudScanFoldersList> folder = state.lastSelectedCloudPath;
    if (!folder)
        return;
    // The provider's paths ignore case, so a case variant is the same folder.
    for (const FilePathNode &entry : state.arrPathNodeGoogleDrive) {
        if (entry.filePath && entry.filePath->compare(folder->folderPath, Qt::CaseInsensitive) == 0) {
            host.scanList().showAlreadyInScanListAlert();
            return;
        }
    }
    ++state.countPathAdded;
    FilePathNode entry;
    entry.filePath = folder->folderPath;
    entry.state = 1;
    entry.nodeType = GlobalObjects::NodeType::nodeTypeDropBox;
    entry.cloudFolder = folder;
    state.arrPathNodeGoogleDrive.push_back(entry);
    if (const std::shared_ptr<DropBoxHandler> source = handler())
        source->arrPathNodesCloudScan.push_back(entry);
    host.scanList().reloadPathTable();
    host.scanList().updateScanButton();
}
