#include "scan/ui/ScanListController.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QUrl>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "platform/AppFolders.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/NotificationCenter.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/OpenPanel.h"
#include "results/ui/ResultFileActions.h"
#include "scan/ExclusionMatcher.h"
#include "scan/ScanOptions.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/ScanListRules.h"
#include "scan/ui/ScanListState.h"

namespace
{

using NodeType = GlobalObjects::NodeType;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

std::vector<FilePathNode> &currentList(ScanListState &state)
{
    return !isCloudSource(ScanGlobals::scanType.load()) ? state.arrPathNodes : state.arrPathNodeGoogleDrive;
}

bool isChecked(const FilePathNode &node)
{
    return node.state == 1;
}

// The items a report names; the rest are counted.
constexpr qsizetype kNamedItems = 3;

// "“a.txt”, “b.doc”, “c.pdf” and 2 more items": each item by its own name, as the user dropped it.
QString namedItems(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths.mid(0, kNamedItems)) {
        const QString name = QFileInfo(path).fileName();
        names.append(
            formatText(text("ID_FILE_NAME_QUOTED"), OutsideText::name(name.isEmpty() ? path : name)));
    }
    QString line = names.join(QStringLiteral(", "));
    if (const qint64 more = paths.size() - names.size(); more > 0)
        line += QLatin1Char(' ')
            + formatText(
                localizedCountText(more, "ID_ONE_MORE_ITEM_NOT_ADDED", "ID_MORE_ITEMS_NOT_ADDED"), more);
    return line;
}

// That the items are no photos or cannot be read, then their names when there are any.
QString notPhotosText(const QStringList &paths)
{
    const QString why = text("ID_ITEMS_NOT_PHOTOS_OR_UNREADABLE");
    return paths.isEmpty() ? why : why + QLatin1Char('\n') + namedItems(paths);
}

} // namespace

ScanListController::ScanListController(
    MainWindowWidgets &widgets, ScanListState &listState, ScanListWindow window)
    : revealUrl([](const QUrl &url) { ResultFileActions::defaultRevealUrl(url, {}); })
    , lookAtOffer([this](const ScanListLook::Request &request, OfferedDone done) {
        ScanListLook::startOffered(request, QPointer<QObject>(this), std::move(done));
    })
    , c(widgets)
    , state(listState)
    , m_window(std::move(window))
{
}

void ScanListController::alert(const QString &message, const QString &informative, const QStringList &buttons)
{
    AlertSpec spec;
    spec.messageText = message;
    spec.informativeText = informative;
    spec.buttons = buttons;
    AlertPresenter::current().runAlert(spec, m_window.view());
}

void ScanListController::loadAllowedExtensions()
{
    const bool videos = state.compareType == GlobalObjects::CompareType::ctMD5
        && UserDefaults::standard().boolForKey(QStringLiteral("allowVideoScanning"));
    ScanOptions::loadAllowedExtensions(
        UserDefaults::standard(), videos, state.allowedExtensions, state.arrVideoExtn);
}

void ScanListController::beginAdd()
{
    state.countPathAdded = 0;
    loadAllowedExtensions();
}

bool ScanListController::hasPhotosEntry() const
{
    for (const FilePathNode &node : state.arrPathNodes)
        if (node.nodeType == NodeType::nodeTypePhotos)
            return true;
    return false;
}

bool ScanListController::hasLookedAtLibrary() const
{
    for (const FilePathNode &node : state.arrPathNodes)
        if (node.nodeType == NodeType::nodeTypePhotos
            && !m_unlooked.contains(node.filePath.value_or(QString())))
            return true;
    return false;
}

bool ScanListController::addPathNode(const QString &path, NodeType nodeType, AddPathResult *result)
{
    return addEntry(path, ScanListRules::pathKey(path), nodeType, result);
}

bool ScanListController::addEntry(
    const QString &path, const QString &key, NodeType nodeType, AddPathResult *result)
{
    const bool listed = state.dictPathAdded.contains(key);
    if (listed && result)
        result->alreadyListed = true;
    if (!listed) {
        FilePathNode node;
        node.filePath = path;
        node.nodeType = nodeType;
        node.state = 1;
        state.arrPathNodes.push_back(node);
        state.dictPathAdded.insert(key, 1);
        state.entryKeys.insert(path, key);
        state.entryAnswers.remove(path);
        ++state.countPathAdded;
        c.btnCompare->setState(IMGButton::OnState);
        c.btnCompare->setEnabled(true);
    }
    updatePathTableToolTip();
    return !listed;
}

void ScanListController::offer(const QStringList &paths, ScanListRules::Offer offer)
{
    PendingAdd add;
    add.id = ++m_addsMade;
    // The excluded folders are resolved by the look: one may lie on a share that does not answer.
    add.request = { paths, offer,
        ExclusionMatcher::foldersFrom(
            UserDefaults::standard().arrayForKey(QStringLiteral("excludedFolders"))),
        state.allowedExtensions };
    state.countPathAdded = 0;
    for (const QString &path : paths)
        add.listed.push_back(listAtOnce(path, offer));
    m_adds.push_back(add);
    reloadPathTable();
    showAddedRows();
    QPointer<ScanListController> owner(this);
    lookAtOffer(add.request, [owner, id = add.id](const ScanListLook::Offered &offered) {
        if (owner)
            owner->offerLooked(id, offered);
    });
}

bool ScanListController::listAtOnce(const QString &path, ScanListRules::Offer offer)
{
    const NodeType type = ScanListRules::typeOffered(offer, path, state.allowedExtensions);
    if (!addEntry(path, ScanListRules::cleanPath(path), type, nullptr))
        return false;
    state.entryAnswers.insert(path, EntryAnswer::Looking);
    m_unlooked.insert(path);
    return true;
}

void ScanListController::offerLooked(quint64 id, const ScanListLook::Offered &offered)
{
    for (PendingAdd &add : m_adds)
        if (add.id == id)
            add.answer = offered;
    // Adds are taken in the order offered, whichever look answers first: what one keeps (a library,
    // a path) decides what those after it may keep.
    while (!m_adds.empty() && m_adds.front().answer) {
        const PendingAdd add = std::move(m_adds.front());
        m_adds.pop_front();
        takeAdd(add);
    }
}

void ScanListController::takeAdd(const PendingAdd &add)
{
    const QHash<QString, size_t> rows = rowsByPath();
    std::vector<bool> leaving(state.arrPathNodes.size(), false);
    const bool trashed = isTrashedChoice(add);
    bool library = hasLookedAtLibrary();
    AddPathResult result;
    for (qsizetype i = 0; i < add.request.paths.size(); ++i) {
        const QString &path = add.request.paths[i];
        // A row the user removed meanwhile is gone for good; a path listed before is not this add's.
        const auto row
            = add.listed[size_t(i)] && m_unlooked.remove(path) ? rows.constFind(path) : rows.cend();
        FilePathNode *node = row != rows.cend() ? &state.arrPathNodes[*row] : nullptr;
        if (!trashed && keepsOffered(add, i, node, library, result)) {
            ++result.added;
        } else if (node) {
            forgetEntry(path);
            leaving[*row] = true;
        }
    }
    removeRows(leaving);
    result.isAllPathAdded = result.added == add.request.paths.size();
    saveScanList();
    reloadPathTable();
    updateScanButton();
    updatePathTableToolTip();
    if (!trashed) {
        scheduleReport(result);
        return;
    }
    QPointer<ScanListController> owner(this);
    Dispatch::main([owner] {
        if (owner)
            owner->alert(QString(), QString(), { text("ID_OK_CAPS") });
    });
}

bool ScanListController::isTrashedChoice(const PendingAdd &add)
{
    const ScanListRules::Offer offer = add.request.offer;
    const bool panel = offer == ScanListRules::Offer::Photos || offer == ScanListRules::Offer::Folder;
    return panel && !add.answer->answers.empty() && add.answer->answers.front()
        && add.answer->answers.front()->insideTrash;
}

bool ScanListController::keepsOffered(
    const PendingAdd &add, qsizetype i, FilePathNode *node, bool &library, AddPathResult &result)
{
    const QString &path = add.request.paths[i];
    const ScanListLook::Offered &offered = *add.answer;
    if (offered.exclusions && offered.exclusions->isExcluded(path)) {
        result.isShowExcludePrompt = true;
        return false;
    }
    if (!add.listed[size_t(i)]) {
        result.alreadyListed = true;
        return false;
    }
    // Added, then removed by the user: nothing to tell.
    if (!node)
        return true;
    const std::optional<ScanListLook::Facts> &facts = offered.answers[size_t(i)];
    // One whose share does not answer stays, shown so, as a restored entry does; a library so named
    // counts as the one listed.
    if (!facts) {
        state.entryAnswers.insert(path, EntryAnswer::NotAnswering);
        library = library || node->nodeType == NodeType::nodeTypePhotos;
        return true;
    }
    state.entryAnswers.insert(path, EntryAnswer::Here);
    return keepsLooked(add.request.offer, *node, *facts, library, result);
}

bool ScanListController::keepsLooked(ScanListRules::Offer offer, FilePathNode &node,
    const ScanListLook::Facts &facts, bool &library, AddPathResult &result)
{
    const QString path = node.filePath.value_or(QString());
    switch (facts.kind) {
    case ScanListRules::Kind::PhotosLibrary:
        if (library) {
            result.PhotoslibAlreadyAdded = true;
            return false;
        }
        break;
    case ScanListRules::Kind::LibraryError:
        result.iPhotoLibError = true;
        // A drop names the packages it refused; the library panel offers no other kind of item.
        if (offer == ScanListRules::Offer::Drop)
            result.refusedPackages.append(path);
        return false;
    case ScanListRules::Kind::Skip:
    case ScanListRules::Kind::Absent:
        if (offer == ScanListRules::Offer::Library)
            result.iPhotoLibError = true;
        else
            result.notAdded.append(path);
        return false;
    case ScanListRules::Kind::File:
    case ScanListRules::Kind::Folder:
        break;
    }
    if (!relist(path, facts.key)) {
        result.alreadyListed = true;
        return false;
    }
    node.nodeType = ScanListRules::entryType(facts.kind).value_or(node.nodeType);
    library = library || node.nodeType == NodeType::nodeTypePhotos;
    return true;
}

void ScanListController::btnAddPathToScan(int tag)
{
    beginAdd();
    if (isCloudSource(ScanGlobals::scanType.load()))
        return;
    OpenPanelOptions options;
    NodeType mode = NodeType::nodeTypefolder;
    if (tag == 0) {
        mode = NodeType::nodeTypefile;
        options.allowedFileTypes = state.allowedExtensions;
        options.allowsMultipleSelection = true;
        options.prompt = text("ID_ADD_PHOTOS");
        options.fileTypesName = text("ID_PHOTOS");
    } else if (tag == 1) {
        if (hasPhotosEntry()) {
            alert(text("ID_ONLY_ONE_LIB_CAN_ADDED"), text("ID_YOU_CANT_ADD_MORE_THN_ONE_LIB_IF_EXIST"),
                { text("ID_OK_CAPS") });
            return;
        }
        mode = NodeType::nodeTypePhotos;
        options.allowedFileTypes = { QStringLiteral("photoslibrary"), QStringLiteral("photolibrary") };
        options.prompt = text("ID_ADD_PHOTOS_LIBRARY");
        options.message = text("ID_CHOOSE_PHOTO_LIBRARY_FOLDER");
        options.directory = QDir(AppFolders::homeFolder()).filePath(QStringLiteral("Pictures"));
    } else {
        options.canChooseDirectories = true;
        options.allowsMultipleSelection = true;
        options.allowedFileTypes = state.allowedExtensions;
        options.prompt = text("ID_ADD_FOLDER");
    }
    state.nodeType = mode;
    const QStringList extensions = state.allowedExtensions;
    options.shouldEnable = [mode, extensions](const QFileInfo &entry) {
        return ScanListRules::isPathEnabledInOpenPanel(mode, entry, extensions);
    };
    OpenPanel::current().beginSheet(options, m_window.view(),
        [this, mode](int response, const QStringList &paths) { openPanelDidChoose(response, paths, mode); });
}

void ScanListController::openPanelDidChoose(int response, const QStringList &paths, NodeType mode)
{
    if (response != OpenPanel::OK || paths.isEmpty())
        return;
    if (mode == NodeType::nodeTypePhotos) {
        const auto libraries = std::count_if(paths.cbegin(), paths.cend(), [](const QString &path) {
            return QFileInfo(path).suffix().toLower() == QLatin1String("photoslibrary");
        });
        if (libraries > 1) {
            alert(text("ID_ONLY_ONE_LIB_CAN_ADDED"), QString(), { text("ID_OK_CAPS") });
            return;
        }
    }
    // What the chosen paths are, and whether the first lies in a Trash, comes from a look off the GUI
    // thread: they may lie on a share gone silent.
    offer(paths,
        mode == NodeType::nodeTypePhotos     ? ScanListRules::Offer::Library
            : mode == NodeType::nodeTypefile ? ScanListRules::Offer::Photos
                                             : ScanListRules::Offer::Folder);
}

void ScanListController::handleFileDragDropNotification(const Notification &notification)
{
    const ScanSource source = ScanGlobals::scanType.load();
    if (isCloudSource(source)) {
        const QString service = text(source == ScanSource::dropbox ? "ID_DROPBOX" : "ID_GOOGLE_DRIVE");
        alert(text("ID_YOU_CANT_DRAG_ANY_FILE"),
            formatText(text("ID_YOU_CANT_DRAG_DROP_ANY_FILE_IN_CLOUD_DRIVE_SCAN_MODE"), service),
            { text("ID_OK") });
        return;
    }
    beginAdd();
    offer(notification.userInfo.value(QStringLiteral("paths")).toStringList(), ScanListRules::Offer::Drop);
}

void ScanListController::showAddedRows()
{
    // New entries are appended: the last of them becomes the current row, scrolled into view, so an
    // addition to a long list shows on screen.
    const QAbstractItemModel *model = c.tvPath->model();
    if (state.countPathAdded <= 0 || !model || model->rowCount() == 0)
        return;
    const QModelIndex last = model->index(model->rowCount() - 1, 0);
    c.tvPath->setCurrentIndex(last);
    c.tvPath->scrollTo(last);
}

void ScanListController::scheduleReport(const AddPathResult &result)
{
    QPointer<ScanListController> owner(this);
    Dispatch::main([owner, result] {
        if (owner)
            owner->showAddPathResult(result);
    });
}

void ScanListController::showAddPathResult(const AddPathResult &result)
{
    const QString cantAdd = text("ID_ITEMS_CANT_ADDED");
    const QStringList ok { text("ID_OK_CAPS") };
    if (result.isShowExcludePrompt) {
        AlertSpec spec;
        spec.messageText = result.added > 0 ? text("ID_ONE_OR_MORE_ITEMS_CANT_ADDED") : cantAdd;
        spec.informativeText = text("ID_ITEMS_ALREADY_EXCLUDED_FROM_SCANNING") + QStringLiteral("\n\n ")
            + text("ID_HINT_GO_TO_PREFERENCES");
        spec.buttons = { text("ID_OK_CAPS"), text("ID_GOTO_PREFERENCES") };
        if (AlertPresenter::current().runAlert(spec, m_window.view()) != AlertPresenter::kFirstButton) {
            m_window.requestPreferences();
        }
        return;
    }
    if (result.added > 0 && result.isAllPathAdded)
        return;
    // A refused library is told first; the items that are no photos are named after it.
    const QString noPhotos
        = result.notAdded.isEmpty() ? QString() : QStringLiteral("\n\n") + notPhotosText(result.notAdded);
    if (result.added == 0 && result.iPhotoLibError)
        alert(cantAdd, text("ID_PHOTOS_LIBRARY_NOT_SUPPORTED") + noPhotos, ok);
    else if (result.PhotoslibAlreadyAdded)
        alert(cantAdd, text("ID_ONLY_ONE_LIB_CAN_ADDED") + noPhotos, ok);
    else
        showNotAddedAlert(result);
}

void ScanListController::showAlreadyInScanListAlert(bool alreadyListed)
{
    AddPathResult result;
    result.alreadyListed = alreadyListed;
    showNotAddedAlert(result);
}

void ScanListController::showNotAddedAlert(const AddPathResult &result)
{
    const QStringList notPhotos = result.notAdded + result.refusedPackages;
    QStringList why;
    if (result.alreadyListed)
        why.append(text("ID_ITEMS_ALREADY_EXIST_SCANNLIST"));
    if (!result.alreadyListed || !notPhotos.isEmpty())
        why.append(notPhotosText(notPhotos));
    alert(text("ID_ITEMS_CANT_ADDED"), why.join(QStringLiteral("\n\n")), { text("ID_OK_CAPS") });
}

void ScanListController::saveScanList()
{
    QVariantList saved;
    for (const FilePathNode &node : state.arrPathNodes) {
        if (!node.filePath || node.filePath->isEmpty() || m_unlooked.contains(*node.filePath))
            continue;
        saved.append(QVariantMap { { QStringLiteral("path"), node.filePath->toUtf8() },
            { QStringLiteral("state"), qlonglong(node.state) } });
    }
    UserDefaults::standard().setObject(QStringLiteral("savedPaths"), saved);
    QPointer<ScanListController> owner(this);
    Dispatch::main([owner] {
        if (owner)
            owner->reloadPathTable();
    });
}

QVariantList ScanListController::loadSavedPaths()
{
    QVariantList result;
    for (const QVariant &element : UserDefaults::standard().arrayForKey(QStringLiteral("savedPaths"))) {
        const QVariant data = element.toMap().value(QStringLiteral("path"));
        if (data.typeId() != QMetaType::QByteArray)
            continue;
        const QString path = QString::fromUtf8(data.toByteArray());
        const QVariant state = element.toMap().value(QStringLiteral("state"));
        result.append(QVariantMap { { QStringLiteral("path"), path }, { QStringLiteral("state"), state } });
    }
    return result;
}

void ScanListController::restoreScanList()
{
    // Each entry is listed at once as it was saved, by its path as written; what it is now, and
    // whether it answers, comes from a look off the GUI thread.
    QStringList paths;
    for (const QVariant &entry : loadSavedPaths()) {
        const QString path = entry.toMap().value(QStringLiteral("path")).toString();
        if (!addEntry(path, ScanListRules::cleanPath(path), ScanListRules::typeByName(path), nullptr))
            continue;
        state.arrPathNodes.back().state = int(entry.toMap().value(QStringLiteral("state")).toLongLong());
        state.entryAnswers.insert(path, EntryAnswer::Looking);
        paths.append(path);
    }
    reloadPathTable();
    updateScanButton();
    if (paths.isEmpty())
        return;
    m_looking = true;
    QPointer<ScanListController> owner(this);
    ScanListLook::start(paths, QPointer<QObject>(this), [owner, paths](const ScanListLook::Answers &answers) {
        if (owner)
            owner->restoredLooked(paths, answers);
    });
}

void ScanListController::restoredLooked(const QStringList &paths, const ScanListLook::Answers &answers)
{
    m_looking = false;
    // Rows by path found once for the whole list: a saved list may hold thousands of folders.
    const QHash<QString, size_t> rows = rowsByPath();
    std::vector<bool> leaving(state.arrPathNodes.size(), false);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString &path = paths[i];
        // An entry removed meanwhile is not brought back, nor is one an add listed again since.
        if (state.entryAnswers.value(path, EntryAnswer::Here) != EntryAnswer::Looking
            || m_unlooked.contains(path))
            continue;
        if (!answers[size_t(i)]) {
            state.entryAnswers.insert(path, EntryAnswer::NotAnswering);
            continue;
        }
        const auto row = rows.constFind(path);
        if (row == rows.cend() || applyRestored(state.arrPathNodes[*row], *answers[size_t(i)]))
            continue;
        // Its key is free at once for the entries after it; the rows go together below.
        forgetEntry(path);
        leaving[*row] = true;
    }
    if (removeRows(leaving))
        saveScanList();
    reloadPathTable();
    updateScanButton();
}

QHash<QString, size_t> ScanListController::rowsByPath() const
{
    QHash<QString, size_t> rows;
    for (size_t row = 0; row < state.arrPathNodes.size(); ++row)
        if (const QString path = state.arrPathNodes[row].filePath.value_or(QString()); !rows.contains(path))
            rows.insert(path, row);
    return rows;
}

bool ScanListController::removeRows(const std::vector<bool> &leaving)
{
    const FilePathNode *first = state.arrPathNodes.data();
    // Entries gone for good leave the saved list at once, not at the next change.
    return std::erase_if(
               state.arrPathNodes, [&](const FilePathNode &node) { return leaving[size_t(&node - first)]; })
        > 0;
}

bool ScanListController::applyRestored(FilePathNode &node, const ScanListLook::Facts &facts)
{
    const QString path = node.filePath.value_or(QString());
    state.entryAnswers.insert(
        path, facts.kind == ScanListRules::Kind::Absent ? EntryAnswer::Away : EntryAnswer::Here);
    // An unplugged drive: the entry stays, shown unavailable, and scans skip it until it is back.
    // What it was is not saved; a library keeps its suffix.
    if (facts.kind != ScanListRules::Kind::Absent) {
        const std::optional<NodeType> type = ScanListRules::entryType(facts.kind);
        if (!type)
            return false;
        node.nodeType = *type;
    }
    return relist(path, facts.key);
}

bool ScanListController::relist(const QString &path, const QString &key)
{
    const QString listedAs = state.entryKeys.value(path);
    if (key == listedAs)
        return true;
    if (state.dictPathAdded.contains(key))
        return false;
    state.dictPathAdded.remove(listedAs);
    state.dictPathAdded.insert(key, 1);
    state.entryKeys.insert(path, key);
    return true;
}

void ScanListController::updateScanButton()
{
    const std::vector<FilePathNode> &list = currentList(state);
    const bool anyChecked = std::any_of(list.cbegin(), list.cend(), isChecked);
    c.btnCompare->setState(anyChecked ? IMGButton::OnState : IMGButton::OffState);
    c.btnCompare->setEnabled(anyChecked);
}

void ScanListController::btnCheckUnCheckTapped(int row, bool checked)
{
    std::vector<FilePathNode> &list = currentList(state);
    if (row < 0 || row >= int(list.size()))
        return;
    list[size_t(row)].state = checked ? 1 : 0;
    storeCloudList();
    updateScanButton();
    saveScanList();
}

void ScanListController::removeScanListEntry(int row)
{
    std::vector<FilePathNode> &list = currentList(state);
    if (row < 0 || row >= int(list.size()))
        return;
    if (&list == &state.arrPathNodes)
        removeEntryAt(size_t(row));
    else
        list.erase(list.begin() + row);
    storeCloudList();
    updateScanButton();
    if (&list == &state.arrPathNodes)
        saveScanList();
    reloadPathTable();
    updatePathTableToolTip();
}

void ScanListController::removeEntryAt(size_t row)
{
    // By the key it was listed under: the path itself may be on a share that no longer answers.
    forgetEntry(state.arrPathNodes[row].filePath.value_or(QString()));
    state.arrPathNodes.erase(state.arrPathNodes.begin() + qsizetype(row));
}

void ScanListController::forgetEntry(const QString &path)
{
    state.dictPathAdded.remove(state.entryKeys.take(path));
    state.entryAnswers.remove(path);
    m_unlooked.remove(path);
}

void ScanListController::removeAllFromScanList()
{
    if (!isCloudSource(ScanGlobals::scanType.load())) {
        state.dictPathAdded.clear();
        state.entryKeys.clear();
        state.entryAnswers.clear();
        state.arrPathNodes.clear();
        m_unlooked.clear();
    } else {
        state.arrPathNodeGoogleDrive.clear();
        storeCloudList();
    }
    reloadPathTable();
    updateScanButton();
    saveScanList();
    updatePathTableToolTip();
}

void ScanListController::setAllScanListChecked(bool checked)
{
    std::vector<FilePathNode> &list = currentList(state);
    if (list.empty())
        return;
    for (FilePathNode &node : list)
        node.state = checked ? 1 : 0;
    storeCloudList();
    c.btnCompare->setState(checked ? IMGButton::OnState : IMGButton::OffState);
    c.btnCompare->setEnabled(checked);
    reloadPathTable();
    saveScanList();
}

void ScanListController::revealInFinder(int row)
{
    if (row < 0 || row >= int(state.arrPathNodes.size()) || !state.arrPathNodes[size_t(row)].filePath)
        return;
    if (revealUrl)
        revealUrl(QUrl::fromLocalFile(*state.arrPathNodes[size_t(row)].filePath));
}

void ScanListController::storeCloudList()
{
    switch (ScanGlobals::scanType.load()) {
    case ScanSource::googleDrive:
        if (state.gDriveAccessVC)
            state.gDriveAccessVC->arrPathNodesToScan = state.arrPathNodeGoogleDrive;
        break;
    case ScanSource::dropbox:
        if (const auto handler = std::dynamic_pointer_cast<DropBoxHandler>(state.scanWrapper))
            handler->arrPathNodesCloudScan = state.arrPathNodeGoogleDrive;
        break;
    case ScanSource::thisComputer:
        break;
    }
}

void ScanListController::updatePathTableToolTip()
{
    c.tvPath->setToolTip(state.arrPathNodes.empty() ? QString() : text("ID_CTRL_TO_VIEW_MORE_OPTIONS"));
}

ScanListTable::Actions ScanListController::tableActions()
{
    QPointer<ScanListController> owner(this);
    ScanListTable::Actions actions;
    actions.checkChanged = [owner](int row, bool checked) {
        if (owner)
            owner->btnCheckUnCheckTapped(row, checked);
    };
    actions.remove = [owner](int row) {
        if (owner)
            owner->removeScanListEntry(row);
    };
    return actions;
}

void ScanListController::reloadPathTable()
{
    const std::vector<FilePathNode> &list = currentList(state);
    ScanListTable::reload(c.tvPath, list, ScanGlobals::scanType.load(), tableActions(), state.entryAnswers);
    for (QWidget *hint : { static_cast<QWidget *>(c.lblDragPhotosTitle.data()),
             static_cast<QWidget *>(c.lblHintForDrag.data()), static_cast<QWidget *>(c.boxForHint.data()) })
        hint->setHidden(!list.empty());
}
