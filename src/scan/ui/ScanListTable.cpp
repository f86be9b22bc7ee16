#include "scan/ui/ScanListTable.h"

#include <algorithm>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileIconProvider>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStorageInfo>

#include "app/LocalizedString.h"
#include "controls/CustomCell.h"
#include "controls/CustomTableView.h"
#include "platform/OutsideText.h"
#include "platform/TextFormat.h"
#include "platform/ui/BundleImage.h"

namespace
{

constexpr int kRowHeight = 32;
constexpr int kIconSide = 20;
// How long cells are made in one go: a few frames, so that a list of thousands is built while the
// window goes on answering.
constexpr qint64 kCellsTurnMs = 40;

// By the entry's kind and name alone: the path itself may be on a share that no longer answers.
QPixmap rowIcon(const FilePathNode &node, ScanSource source)
{
    switch (source) {
    case ScanSource::dropbox:
        return BundleImage::named(QStringLiteral("dropbox_icon")).pixmap(QSize(kIconSide, kIconSide));
    case ScanSource::googleDrive:
        return BundleImage::named(QStringLiteral("google-drive-icon")).pixmap(QSize(kIconSide, kIconSide));
    case ScanSource::thisComputer:
        break;
    }
    // Thousands of rows share a handful of icons (one per kind of item): each is looked up and
    // drawn once, not once per row.
    static QHash<QString, QPixmap> drawn;
    const QString path = node.filePath.value_or(QString());
    const bool folder = node.nodeType != GlobalObjects::NodeType::nodeTypefile;
    const QMimeType type
        = folder ? QMimeType() : QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const QString key
        = folder ? (path == QLatin1String("/") ? QStringLiteral("//") : QStringLiteral("/")) : type.name();
    auto found = drawn.constFind(key);
    if (found == drawn.cend()) {
        const QFileIconProvider provider;
        const QIcon icon = !folder
            ? QIcon::fromTheme(type.iconName(),
                QIcon::fromTheme(type.genericIconName(), provider.icon(QFileIconProvider::File)))
            : key == QLatin1String("//") ? provider.icon(QFileIconProvider::Drive)
                                         : provider.icon(QFileIconProvider::Folder);
        found = drawn.insert(key, icon.pixmap(kIconSide, kIconSide));
    }
    return *found;
}

// The reason a row of this computer is greyed for, or nothing.
const char *greyedFor(const QString &path, ScanSource source, const QHash<QString, EntryAnswer> &answers)
{
    if (source != ScanSource::thisComputer || path.isEmpty())
        return nullptr;
    switch (answers.value(path, EntryAnswer::Here)) {
    case EntryAnswer::Away:
        return "ID_SCAN_LIST_ENTRY_UNAVAILABLE";
    case EntryAnswer::NotAnswering:
        return "ID_SCAN_LIST_ENTRY_NOT_ANSWERING";
    case EntryAnswer::Looking:
    case EntryAnswer::Here:
        break;
    }
    return nullptr;
}

const QPixmap &greyedIcon()
{
    static const QPixmap &icon = *new QPixmap(
        QFileIconProvider().icon(QFileIconProvider::Folder).pixmap(kIconSide, QIcon::Disabled));
    return icon;
}

// Shows `node` in `cell`, changing only what differs from what it shows: a cell is made once and
// then kept for its row, so a long list is not rebuilt at each change.
void fillCell(
    CustomCell *cell, const FilePathNode &node, ScanSource source, const QHash<QString, EntryAnswer> &answers)
{
    QLabel *label = cell->lblFilePath();
    const QString path = node.filePath.value_or(QString());
    const QString shown = OutsideText::name(ScanListTable::displayPath(path, source));
    const char *why = greyedFor(path, source, answers);
    const QString toolTip = OutsideText::toolTip(
        why ? shown + QLatin1Char('\n') + localizedString(QString::fromLatin1(why)) : shown);
    cell->btnCheckBox()->setChecked(node.state == 1);
    label->setText(shown);
    if (label->toolTip() != toolTip)
        label->setToolTip(toolTip);
    // Greyed, with the reason beside the path; the row can still be ticked or removed. The
    // window's style sheet makes its labels white, so the grey is restated here.
    label->setEnabled(!why);
    const QString grey = why ? QStringLiteral("QLabel:disabled { color: rgb(140, 142, 150); }") : QString();
    if (label->styleSheet() != grey)
        label->setStyleSheet(grey);
    const QPixmap &icon = why ? greyedIcon() : rowIcon(node, source);
    if (cell->imgView()->pixmap().cacheKey() != icon.cacheKey())
        cell->imgView()->setPixmap(icon);
}

CustomCell *makeCell(int row, const ScanListTable::Actions &actions)
{
    auto *cell = new CustomCell;
    cell->setObjectName(QStringLiteral("idPathCell"));
    auto *check = new QCheckBox;
    auto *icon = new QLabel;
    auto *label = new QLabel;
    auto *remove = new QPushButton(QStringLiteral("✕"));
    cell->setBtnCheckBox(check);
    cell->setImgView(icon);
    cell->setLblFilePath(label);
    cell->setBtnDelete(remove);
    label->setTextFormat(Qt::PlainText);
    remove->setFlat(true);
    // The list is one stop of the Tab key; its keys reach the box and the button of a row.
    check->setFocusPolicy(Qt::NoFocus);
    remove->setFocusPolicy(Qt::NoFocus);
    remove->setToolTip(localizedString(QStringLiteral("ID_DELETE")));
    auto *layout = new QHBoxLayout(cell);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->addWidget(check);
    layout->addWidget(icon);
    layout->addWidget(label, 1);
    layout->addWidget(remove);
    // A cell stays with its row number: the rows after a removed one show their new entries in place.
    QObject::connect(
        check, &QCheckBox::clicked, cell, [row, actions](bool on) { actions.checkChanged(row, on); });
    QObject::connect(remove, &QPushButton::clicked, cell, [row, actions] {
        // The row is removed after the click has been handled: removing may delete this very cell.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [row, actions] { actions.remove(row); }, Qt::QueuedConnection);
    });
    return cell;
}

} // namespace

QString ScanListTable::displayPath(const QString &path, ScanSource source)
{
    if (source == ScanSource::thisComputer && path == QLatin1String("/"))
        return QStorageInfo::root().displayName();
    return path;
}

bool ScanListTable::reload(CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source,
    const Actions &actions, const QHash<QString, EntryAnswer> &answers)
{
    auto *model = qobject_cast<QStandardItemModel *>(table->model());
    if (!model) {
        model = new QStandardItemModel(table);
        model->setColumnCount(1);
        table->setModel(model);
        table->horizontalHeader()->setStretchLastSection(true);
        table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    }
    // The rows are brought up to date after every tick and removal: the current row stays where it
    // was (the last one when the list got shorter), so the arrows and the Menu key go on from there.
    const int current = table->currentIndex().row();
    const int scrolled = table->verticalScrollBar()->value();
    const int kept = std::min(rowsWithCells(table), int(nodes.size()));
    model->setRowCount(int(nodes.size()));
    for (int row = 0; row < kept; ++row)
        fillCell(qobject_cast<CustomCell *>(table->indexWidget(model->index(row, 0))), nodes[size_t(row)],
            source, answers);
    const bool more = addCells(table, nodes, source, actions, answers);
    if (current >= 0 && !nodes.empty())
        table->setCurrentIndex(model->index(std::min(current, int(nodes.size()) - 1), 0));
    // The list stays scrolled where it was, not back at its top.
    table->doItemsLayout();
    table->verticalScrollBar()->setValue(scrolled);
    return more;
}

bool ScanListTable::addCells(CustomTableView *table, const std::vector<FilePathNode> &nodes,
    ScanSource source, const Actions &actions, const QHash<QString, EntryAnswer> &answers)
{
    const QAbstractItemModel *model = table->model();
    const int rows = model ? std::min(model->rowCount(), int(nodes.size())) : 0;
    // Each turn lays out every cell made before it: a turn makes as many as it can in its time.
    QElapsedTimer clock;
    clock.start();
    int row = rowsWithCells(table);
    for (; row < rows && !clock.hasExpired(kCellsTurnMs); ++row) {
        CustomCell *cell = makeCell(row, actions);
        fillCell(cell, nodes[size_t(row)], source, answers);
        table->setIndexWidget(model->index(row, 0), cell);
        // In its row at once, not at the top until the view's next layout (which visualRect() would
        // run at once, for every cell).
        cell->setGeometry(table->columnViewportPosition(0), table->rowViewportPosition(row),
            table->columnWidth(0), table->rowHeight(row));
    }
    return row < rows;
}

int ScanListTable::rowsWithCells(const CustomTableView *table)
{
    // The rows with a cell come first: cells are made in row order and rows dropped from the end.
    const QAbstractItemModel *model = table->model();
    int low = 0, high = model ? model->rowCount() : 0;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (table->indexWidget(model->index(middle, 0)))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
