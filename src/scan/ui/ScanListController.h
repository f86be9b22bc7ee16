// The scan list of the main window: adding by open panel and drop, the table rows with their
// check boxes and delete buttons, the row actions, the Scan button's state, and the saved list.
#pragma once

#include <deque>
#include <functional>

#include <QSet>
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
    // True while an add (a drop, a choice in the open panel) waits for the look at its paths.
    bool isLookingAtAdds() const { return !m_adds.empty(); }
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
    // How the paths an add offers are looked at (ScanListLook::startOffered); `done` runs on the GUI
    // thread, at most once. Replaceable for tests, which answer when and in what order they choose.
    using OfferedDone = std::function<void(const ScanListLook::Offered &)>;
    std::function<void(const ScanListLook::Request &, OfferedDone)> lookAtOffer;

private:
    // An add whose paths are listed at once, by name, until their look answers.
    struct PendingAdd {
        quint64 id = 0;
        ScanListLook::Request request;
        // Per path: whether it was listed at once; a path listed already is not.
        std::vector<bool> listed;
        std::optional<ScanListLook::Offered> answer;
    };

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
    // Lists `paths` at once and looks at them off the GUI thread; what each becomes is decided once
    // the look has answered, in the order offered.
    void offer(const QStringList &paths, ScanListRules::Offer offer);
    // Lists `path` until its look answers; false when it is listed already.
    bool listAtOnce(const QString &path, ScanListRules::Offer offer);
    void offerLooked(quint64 id, const ScanListLook::Offered &offered);
    // Saves, shows and reports what the add `add` keeps of the paths it offered.
    void takeAdd(const PendingAdd &add);
    // Whether the offered path `i` of `add`, listed as `node` (none: not by this add, or removed
    // since), stays; what keeps it out goes into `result`. `library`: a library is listed.
    bool keepsOffered(
        const PendingAdd &add, qsizetype i, FilePathNode *node, bool &library, AddPathResult &result);
    bool keepsLooked(ScanListRules::Offer offer, FilePathNode &node, const ScanListLook::Facts &facts,
        bool &library, AddPathResult &result);
    // A choice in the Add Photos or Add Folder panel whose first path lies in a Trash.
    static bool isTrashedChoice(const PendingAdd &add);
    // Each path's first row.
    QHash<QString, size_t> rowsByPath() const;
    // Removes the rows marked in `leaving`, each looked at where it was before any is moved; true
    // when any went.
    bool removeRows(const std::vector<bool> &leaving);
    // A library listed and looked at (restored ones still looked at included).
    bool hasLookedAtLibrary() const;
    // A library listed, one an add still looks at included.
    bool hasPhotosEntry() const;
    void showAddedRows();
    void scheduleReport(const AddPathResult &result);
    void alert(const QString &message, const QString &informative, const QStringList &buttons);

    MainWindowWidgets &c;
    ScanListState &state;
    ScanListWindow m_window;
    bool m_looking = false;
    // The adds not yet taken, in the order offered, and the paths of their rows still listed, which
    // are not saved until taken.
    std::deque<PendingAdd> m_adds;
    quint64 m_addsMade = 0;
    QSet<QString> m_unlooked;
};
