#include "preferences/ui/ExcludeViewController.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "controls/CommonFuncUi.h"
#include "controls/RowKeys.h"
#include "platform/OutsideText.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/OpenPanel.h"
#include "preferences/ExclusionRules.h"

namespace
{

const QString kExcludedFolders = QStringLiteral("excludedFolders");
const QString kPathColumn = QStringLiteral("idPath");
constexpr int kSmallButton = 26;

} // namespace

ExcludeViewController::ExcludeViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("exclude")),
        localizedString(QStringLiteral("ID_EXCLUSIONS")), bundleIcon(QStringLiteral("Exclusions")), parent)
{
}

void ExcludeViewController::viewDidLoad()
{
    QWidget *pane = view();
    setPreferredSize(QSize(kViewWidth, kViewHeight));
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(20, 14, 20, 14);
    layout->setSpacing(8);
    lblMangaeFolderToexclude = new QLabel(localizedString(QStringLiteral("ID_MANAGE_FOLDERS_EXCLUDED")));
    layout->addWidget(lblMangaeFolderToexclude);

    tvExclude = new QTableWidget(0, 1);
    tvExclude->setObjectName(QStringLiteral("tvExclude"));
    tvExclude->setHorizontalHeaderItem(0, new QTableWidgetItem);
    tvExclude->horizontalHeaderItem(0)->setData(Qt::UserRole, kPathColumn);
    tvExclude->horizontalHeader()->setStretchLastSection(true);
    tvExclude->verticalHeader()->hide();
    tvExclude->verticalHeader()->setDefaultSectionSize(22);
    tvExclude->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvExclude->setSelectionMode(QAbstractItemView::SingleSelection);
    tvExclude->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control; the arrows move within it.
    tvExclude->setTabKeyNavigation(false);
    RowKeys::install(tvExclude);
    CommonFuncUi::setTableHeaders(localizedString(QStringLiteral("ID_EXCLUDED_FOLDERS")), 0, tvExclude);
    layout->addWidget(tvExclude, 1);

    // The add and remove buttons are drawn as signs, as under most list editors.
    btnAdd = new QPushButton(QStringLiteral("+"));
    btnRemove = new QPushButton(QString(QChar(0x2212)));
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    for (QPushButton *button : { btnAdd.data(), btnRemove.data() }) {
        button->setFixedSize(kSmallButton, kSmallButton);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(btnAdd, &QPushButton::clicked, this, [this] { btnAddFolderToExclusion(); });
    connect(btnRemove, &QPushButton::clicked, this, [this] { btnRemoveFolderFromExclusion(); });

    loadExclusions();
    reloadTableView_main();
    observeResetToDefaults([this] { resetFromDefaults(); });
}

void ExcludeViewController::loadExclusions()
{
    arrExclude.clear();
    for (const QVariant &folder : UserDefaults::standard().arrayForKey(kExcludedFolders))
        arrExclude.append(folder.toString());
}

void ExcludeViewController::storeExclusions()
{
    QVariantList folders;
    for (const QString &folder : arrExclude)
        folders.append(folder);
    UserDefaults::standard().setObject(kExcludedFolders, folders);
}

void ExcludeViewController::reloadTableView_main()
{
    if (!tvExclude)
        return;
    tvExclude->clearSelection();
    tvExclude->setRowCount(static_cast<int>(arrExclude.size()));
    for (int row = 0; row < arrExclude.size(); ++row) {
        auto *item = new QTableWidgetItem(arrExclude.at(row));
        item->setToolTip(OutsideText::toolTip(OutsideText::name(arrExclude.at(row))));
        tvExclude->setItem(row, 0, item);
    }
}

void ExcludeViewController::btnAddFolderToExclusion()
{
    OpenPanelOptions options;
    options.canChooseFiles = false;
    options.canChooseDirectories = true;
    options.treatsFilePackagesAsDirectories = true;
    options.allowsMultipleSelection = true;
    options.prompt = localizedString(QStringLiteral("ID_ADD_TO_EXCLUSIONS"));
    QPointer<ExcludeViewController> self(this);
    OpenPanel::current().beginSheet(options, view(), [self](int response, const QStringList &paths) {
        if (self)
            self->addChosenFolders(response, paths);
    });
}

void ExcludeViewController::addChosenFolders(int response, const QStringList &paths)
{
    if (response != OpenPanel::OK || paths.isEmpty())
        return;
    if (ExclusionRules::containsTrashFolder(paths)) {
        showAlert(QStringLiteral("ID_TRASH_FOLDER_CANT_EXCLUDED"), QString(), QStringLiteral("ID_OK_CAPS"));
        return;
    }
    const QStringList scanList = m_scanListPaths ? m_scanListPaths() : QStringList();
    const ExclusionRules::AddResult result = ExclusionRules::addFolders(paths, arrExclude, scanList);
    arrExclude = result.exclusions;
    reloadTableView_main();
    if (const auto alert = ExclusionRules::alertFor(result.inScanList, result.alreadyExcluded))
        showAlert(alert->messageKey, alert->informativeKey, QStringLiteral("ID_OK"));
    storeExclusions();
}

void ExcludeViewController::showAlert(
    const QString &messageKey, const QString &informativeKey, const QString &buttonKey)
{
    AlertSpec alert;
    alert.messageText = localizedString(messageKey);
    if (!informativeKey.isEmpty())
        alert.informativeText = localizedString(informativeKey);
    alert.buttons = { localizedString(buttonKey) };
    AlertPresenter::current().runAlert(alert, view());
}

void ExcludeViewController::btnRemoveFolderFromExclusion()
{
    const QModelIndexList selected
        = tvExclude ? tvExclude->selectionModel()->selectedRows() : QModelIndexList();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    if (row < 0 || row >= arrExclude.size())
        return;
    arrExclude.removeAt(row);
    reloadTableView_main();
    storeExclusions();
}

void ExcludeViewController::resetFromDefaults()
{
    loadExclusions();
    QMetaObject::invokeMethod(this, &ExcludeViewController::reloadTableView_main, Qt::QueuedConnection);
}
