#include "scan/ui/ScanListTable.h"

#include <algorithm>

#include <QCoreApplication>
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
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
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

CustomCell *makeCell(const FilePathNode &node, int row, ScanSource source,
    const ScanListTable::Actions &actions, const QHash<QString, EntryAnswer> &answers)
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
    const QString path = node.filePath.value_or(QString());
    label->setTextFormat(Qt::PlainText);
    label->setText(OutsideText::name(ScanListTable::displayPath(path, source)));
    label->setToolTip(OutsideText::toolTip(label->text()));
    check->setChecked(node.state == 1);
    icon->setPixmap(rowIcon(node, source));
    if (const char *why = greyedFor(path, source, answers)) {
        // Greyed, with the reason beside the path; the row can still be ticked or removed. The
        // window's style sheet makes its labels white, so the grey is restated here.
        label->setEnabled(false);
        label->setStyleSheet(QStringLiteral("QLabel:disabled { color: rgb(140, 142, 150); }"));
        icon->setPixmap(
            QFileIconProvider().icon(QFileIconProvider::Folder).pixmap(kIconSide, QIcon::Disabled));
        label->setToolTip(OutsideText::toolTip(
            label->text() + QLatin1Char('\n') + localizedString(QString::fromLatin1(why))));
    }
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
    QObject::connect(
        check, &QCheckBox::clicked, cell, [row, actions](bool on) { actions.checkChanged(row, on); });
    QObject::connect(remove, &QPushButton::clicked, cell, [row, actions] {
        // The row is removed after the click has been handled: removing rebuilds this very cell.
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

void ScanListTable::reload(CustomTableView *table, const std::vector<FilePathNode> &nodes, ScanSource source,
    const Actions &actions, const QHash<QString, EntryAnswer> &answers)
{
    auto *model = qobject_cast<QStandardItemModel *>(table->model());
    if (!model) {
        model = new QStandardItemModel(table);
        table->setModel(model);
        table->horizontalHeader()->setStretchLastSection(true);
        table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    }
    // The rows are rebuilt after every tick and removal: the current row stays where it was (the
    // last one when the list got shorter), so the arrows and the Menu key go on from there.
    const int current = table->currentIndex().row();
    const int scrolled = table->verticalScrollBar()->value();
    model->clear();
    model->setColumnCount(1);
    model->setRowCount(int(nodes.size()));
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < int(nodes.size()); ++row)
        table->setIndexWidget(
            model->index(row, 0), makeCell(nodes[size_t(row)], row, source, actions, answers));
    if (current >= 0 && !nodes.empty())
        table->setCurrentIndex(model->index(std::min(current, int(nodes.size()) - 1), 0));
    // The list stays scrolled where it was, not back at its top.
    table->doItemsLayout();
    table->verticalScrollBar()->setValue(scrolled);
}
