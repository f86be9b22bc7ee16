// The scan list of the main window: adding by open panel and drop, the table rows with their
// check boxes and delete buttons, the row actions, the Scan button's state, and the saved list.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>

#include "app/GlobalObjects.h"
#include "scan/ui/ScanListLook.h"
#include "scan/ui/ScanListTable.h"

#include <QObject>

class FilePathNode;
class QWidget;
struct MainWindowWidgets;
struct ScanListState;
struct Notification;

// What one add operation met, for the report that follows it.
struct AddPathResult {
    bool isShowExcludePrompt = false;
    bool isAllPathAdded = false;
    bool iPhotoLibError = false;
    bool PhotoslibAlreadyAdded = false;
    // A path offered was on the list already.
    bool alreadyListed = false;
    // The items offered that are no photos of an enabled type or cannot be read, and the packages
    // offered that are no photo library, in the order offered.
    QStringList notAdded;
    QStringList refusedPackages;
    // The entries the operation made, the library among them included.
    int added = 0;
    // The library listed by the operation while it is looked at; the report waits for the answer.
    QString library;
};

// What the scan list asks of its window: the view its alerts and panels open over, and the
// preferences window (an added path is excluded from scanning).
struct ScanListWindow {
    std::function<QWidget *()> view;
    std::function<void()> requestPreferences;
};

class ScanListController : public QObject
{
public:
    ScanListController(MainWindowWidgets &widgets, ScanListState &state, ScanListWindow window);

    // Adds one entry unless the path is on the list already; true when an entry was made. A
    // folder inside a listed folder, or one holding a listed item, is an entry of its own: each
    // entry's tick decides whether it is scanned, and a file two ticked entries reach is scanned
    // once. A refusal is noted in `result`.
    bool addPathNode(const QString &path, GlobalObjects::NodeType nodeType, AddPathResult *result = nullptr);
    // True until the look at the restored entries has answered.
    bool isLookingAtEntries() const { return m_looking; }
    // True while a look at an added library has not answered.
    bool isLookingAtLibrary() const { return m_libraryLooksUnanswered > 0; }
    // Tag 0 adds photos, 1 a Photos library, anything else a folder.
    void btnAddPathToScan(int tag);
    void openPanelDidChoose(int response, const QStringList &paths, GlobalObjects::NodeType mode);
    void handleFileDragDropNotification(const Notification &notification);
    void showAddPathResult(const AddPathResult &result);

    void saveScanList();
    void restoreScanList();
    // The saved list as {"path", "state"} entries, in saved order.
    static QVariantList loadSavedPaths();

    void btnCheckUnCheckTapped(int row, bool checked);
    void removeScanListEntry(int row);
    void removeAllFromScanList();
    void setAllScanListChecked(bool checked);
    // Shows the entry of this computer's list selected in the file manager.
    void revealInFinder(int row);
    void reloadPathTable();
    // The Scan button is on and enabled while the visible list has a ticked entry.
    void updateScanButton();
    void updatePathTableToolTip();
    void loadAllowedExtensions();

    // "The items cannot be added", because they are on the list already or, when none was,
    // because they are no photos of the enabled types or cannot be read.
    void showAlreadyInScanListAlert(bool alreadyListed = true);
    // As above, naming the items of `result` that are no photos.
    void showNotAddedAlert(const AddPathResult &result);

    // How an entry is shown in the file manager; replaceable for tests.
    std::function<void(const QUrl &)> revealUrl;

private:
    // The shown cloud rows are a copy: the source's own list, which the next switch of source
    // shows again, takes every change of them.
    void storeCloudList();
    // Lists `path` under `key` unless that key is listed already; true when an entry was made.
    bool addEntry(
        const QString &path, const QString &key, GlobalObjects::NodeType nodeType, AddPathResult *result);
    // The look at the restored entries `paths` has answered.
    void restoredLooked(
        const QStringList &paths, const std::vector<std::optional<ScanListLook::Facts>> &answers);
    // What the restored entry `node` becomes once looked at; false when it leaves the list.
    bool applyRestored(FilePathNode &node, const ScanListLook::Facts &facts);
    // Lists the entry at `path` under `key`, its path with links resolved; false when another entry
    // holds that key (a second path of one item, through a link): the first keeps it.
    bool relist(const QString &path, const QString &key);
    // The row actions of the table's cells.
    ScanListTable::Actions tableActions();
    void removeEntryAt(size_t row);
    // Forgets the keys and answers of the entry at `path`, whose row is about to go.
    void forgetEntry(const QString &path);
    void beginAdd();
    void addDroppedPath(const QString &path, AddPathResult &result);
    void addLibrary(const QString &path, AddPathResult &result);
    // Saves and shows what an add of `offered` paths made, and reports it once the library it
    // listed, if any, has been looked at. `dropped`: the paths came from a drop.
    void endAdd(AddPathResult result, qsizetype offered, bool dropped);
    // The look at the library an add listed has answered (nothing: its share did not answer).
    void libraryLooked(
        AddPathResult result, bool dropped, quint64 look, const std::optional<ScanListLook::Facts> &facts);
    // Whether the library listed at `path` stays, by what its look found; the reason it leaves goes
    // into `result`.
    bool keepsLibrary(const QString &path, const std::optional<ScanListLook::Facts> &facts, bool dropped,
        AddPathResult &result);
    void addChosenPath(const QString &path, GlobalObjects::NodeType mode, AddPathResult &result);
    bool hasPhotosEntry() const;
    bool isExcluded(const QString &path) const;
    void showAddedRows();
    void scheduleReport(const AddPathResult &result);
    void alert(const QString &message, const QString &informative, const QStringList &buttons);

    MainWindowWidgets &c;
    ScanListState &state;
    ScanListWindow m_window;
    bool m_looking = false;
    // The added library whose look has not answered, empty when none; its row is not saved until
    // then. Each look is numbered: only the last one's answer is taken.
    QString m_lookingAtLibrary;
    quint64 m_libraryLooks = 0;
    int m_libraryLooksUnanswered = 0;
};
