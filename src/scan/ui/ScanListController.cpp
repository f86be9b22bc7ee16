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
#include "platform/Trash.h"
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
    state.predDirExclusion = std::make_shared<ExclusionMatcher>(ExclusionMatcher::foldersFrom(
        UserDefaults::standard().arrayForKey(QStringLiteral("excludedFolders"))));
    loadAllowedExtensions();
}

bool ScanListController::isExcluded(const QString &path) const
{
    return state.predDirExclusion && state.predDirExclusion->isExcluded(path);
}

bool ScanListController::hasPhotosEntry() const
{
    for (const FilePathNode &node : state.arrPathNodes)
        if (node.nodeType == NodeType::nodeTypePhotos)
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

void ScanListController::addLibrary(const QString &path, AddPathResult &result)
{
    if (hasPhotosEntry()) {
        result.PhotoslibAlreadyAdded = true;
        return;
    }
    // Listed at once by its path as written, as a restored entry is: whether it is a library, and
    // whether its share answers, comes from a look off the GUI thread (endAdd).
    if (!addEntry(path, ScanListRules::cleanPath(path), NodeType::nodeTypePhotos, &result))
        return;
    state.entryAnswers.insert(path, EntryAnswer::Looking);
    result.library = path;
}

void ScanListController::endAdd(AddPathResult result, qsizetype offered, bool dropped)
{
    result.added = state.countPathAdded;
    result.isAllPathAdded = result.added == offered;
    if (!result.library.isEmpty())
        m_lookingAtLibrary = result.library;
    saveScanList();
    reloadPathTable();
    showAddedRows();
    if (result.library.isEmpty()) {
        scheduleReport(result);
        return;
    }
    const quint64 look = ++m_libraryLooks;
    ++m_libraryLooksUnanswered;
    QPointer<ScanListController> owner(this);
    ScanListLook::startLibrary(result.library, QPointer<QObject>(this),
        [owner, result, dropped, look](const std::optional<ScanListLook::Facts> &facts) {
            if (owner)
                owner->libraryLooked(result, dropped, look, facts);
        });
}

void ScanListController::libraryLooked(
    AddPathResult result, bool dropped, quint64 look, const std::optional<ScanListLook::Facts> &facts)
{
    --m_libraryLooksUnanswered;
    // A row removed meanwhile takes no late answer, nor does one added again since; the report
    // still tells what became of the other paths.
    if (look == m_libraryLooks && !m_lookingAtLibrary.isEmpty()) {
        const QString path = std::exchange(m_lookingAtLibrary, QString());
        if (!keepsLibrary(path, facts, dropped, result)) {
            const auto row = std::find_if(state.arrPathNodes.cbegin(), state.arrPathNodes.cend(),
                [&path](const FilePathNode &node) { return node.filePath == path; });
            if (row != state.arrPathNodes.cend())
                removeEntryAt(size_t(row - state.arrPathNodes.cbegin()));
            --result.added;
            result.isAllPathAdded = false;
        }
        saveScanList();
        reloadPathTable();
        updateScanButton();
        updatePathTableToolTip();
    }
    showAddPathResult(result);
}

bool ScanListController::keepsLibrary(
    const QString &path, const std::optional<ScanListLook::Facts> &facts, bool dropped, AddPathResult &result)
{
    // One whose share does not answer stays, shown so, as a restored entry does.
    if (!facts) {
        state.entryAnswers.insert(path, EntryAnswer::NotAnswering);
        return true;
    }
    state.entryAnswers.insert(path, EntryAnswer::Here);
    switch (facts->kind) {
    case ScanListRules::Kind::PhotosLibrary:
        if (relist(path, facts->key))
            return true;
        result.alreadyListed = true;
        return false;
    case ScanListRules::Kind::Skip:
        // A drop names what is no photos or cannot be read; the panel offers folders only.
        if (dropped) {
            result.notAdded.append(path);
            return false;
        }
        [[fallthrough]];
    default:
        result.iPhotoLibError = true;
        return false;
    }
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
    options.shouldEnable = [mode, extensions](const QString &path) {
        return ScanListRules::isPathEnabledInOpenPanel(mode, path, extensions);
    };
    OpenPanel::current().beginSheet(options, m_window.view(),
        [this, mode](int response, const QStringList &paths) { openPanelDidChoose(response, paths, mode); });
}

void ScanListController::addChosenPath(const QString &path, NodeType mode, AddPathResult &result)
{
    if (mode == NodeType::nodeTypePhotos) {
        addLibrary(path, result);
    } else if (mode == NodeType::nodeTypefolder && !QFileInfo(path).isDir()) {
        // A file that reached the folder panel is entered as the file it is, or not at all.
        if (ScanListRules::hasEnabledExtension(path, state.allowedExtensions))
            addPathNode(path, NodeType::nodeTypefile, &result);
        else
            result.notAdded.append(path);
    } else {
        addPathNode(path, mode, &result);
    }
}

void ScanListController::openPanelDidChoose(int response, const QStringList &paths, NodeType mode)
{
    if (response != OpenPanel::OK || paths.isEmpty())
        return;
    // A library is looked at off the GUI thread, its Trash too: it may lie on a share gone silent.
    if (mode != NodeType::nodeTypePhotos && Trash::isInsideTrashFolder(paths.first())) {
        alert(QString(), QString(), { text("ID_OK_CAPS") });
        return;
    }
    if (mode == NodeType::nodeTypePhotos) {
        const auto libraries = std::count_if(paths.cbegin(), paths.cend(), [](const QString &path) {
            return QFileInfo(path).suffix().toLower() == QLatin1String("photoslibrary");
        });
        if (libraries > 1) {
            alert(text("ID_ONLY_ONE_LIB_CAN_ADDED"), QString(), { text("ID_OK_CAPS") });
            return;
        }
    }
    AddPathResult result;
    for (const QString &path : paths) {
        if (isExcluded(path))
            result.isShowExcludePrompt = true;
        else
            addChosenPath(path, mode, result);
    }
    endAdd(result, paths.size(), false);
}

void ScanListController::addDroppedPath(const QString &path, AddPathResult &result)
{
    if (isExcluded(path)) {
        result.isShowExcludePrompt = true;
        return;
    }
    // By its name alone: what it is comes from a look off the GUI thread.
    if (ScanListRules::isPhotosLibraryPackage(path)) {
        addLibrary(path, result);
        return;
    }
    switch (ScanListRules::classifyDropped(path, state.allowedExtensions)) {
    case ScanListRules::Kind::Folder:
        addPathNode(path, NodeType::nodeTypefolder, &result);
        break;
    case ScanListRules::Kind::File:
        addPathNode(path, NodeType::nodeTypefile, &result);
        break;
    case ScanListRules::Kind::PhotosLibrary:
        addLibrary(path, result);
        break;
    case ScanListRules::Kind::LibraryError:
        result.iPhotoLibError = true;
        result.refusedPackages.append(path);
        break;
    case ScanListRules::Kind::Skip:
    case ScanListRules::Kind::Absent:
        result.notAdded.append(path);
        break;
    }
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
    const QStringList paths = notification.userInfo.value(QStringLiteral("paths")).toStringList();
    beginAdd();
    AddPathResult result;
    for (const QString &path : paths)
        addDroppedPath(path, result);
    endAdd(result, paths.size(), true);
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
        if (!node.filePath || node.filePath->isEmpty() || *node.filePath == m_lookingAtLibrary)
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
    // Rows by path, the first of a path only, found once for the whole list: a saved list may hold
    // thousands of folders.
    QHash<QString, size_t> rows;
    for (size_t row = 0; row < state.arrPathNodes.size(); ++row)
        if (const QString path = state.arrPathNodes[row].filePath.value_or(QString()); !rows.contains(path))
            rows.insert(path, row);
    std::vector<bool> leaving(state.arrPathNodes.size(), false);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString &path = paths[i];
        // An entry removed meanwhile is not brought back.
        if (state.entryAnswers.value(path, EntryAnswer::Here) != EntryAnswer::Looking)
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
    // Each row is looked at where it was, before any is moved.
    const FilePathNode *first = state.arrPathNodes.data();
    // The saved list forgets them at once, not at the next change: they are gone for good.
    if (std::erase_if(
            state.arrPathNodes, [&](const FilePathNode &node) { return leaving[size_t(&node - first)]; })
        > 0)
        saveScanList();
    reloadPathTable();
    updateScanButton();
}

bool ScanListController::applyRestored(FilePathNode &node, const ScanListLook::Facts &facts)
{
    const QString path = node.filePath.value_or(QString());
    state.entryAnswers.insert(
        path, facts.kind == ScanListRules::Kind::Absent ? EntryAnswer::Away : EntryAnswer::Here);
    switch (facts.kind) {
    case ScanListRules::Kind::Absent:
        // An unplugged drive: the entry stays, shown unavailable, and scans skip it until it
        // is back. What it was is not saved; a library keeps its suffix.
        break;
    case ScanListRules::Kind::Folder:
        node.nodeType = NodeType::nodeTypefolder;
        break;
    case ScanListRules::Kind::PhotosLibrary:
        node.nodeType = NodeType::nodeTypePhotos;
        break;
    case ScanListRules::Kind::File:
        node.nodeType = NodeType::nodeTypefile;
        break;
    default:
        return false;
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
    if (path == m_lookingAtLibrary)
        m_lookingAtLibrary.clear();
}

void ScanListController::removeAllFromScanList()
{
    if (!isCloudSource(ScanGlobals::scanType.load())) {
        state.dictPathAdded.clear();
        state.entryKeys.clear();
        state.entryAnswers.clear();
        state.arrPathNodes.clear();
        m_lookingAtLibrary.clear();
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
