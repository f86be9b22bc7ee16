#include "scan/ui/ScanListModel.h"

#include <QFileIconProvider>
#include <QIcon>
#include <QMimeDatabase>
#include <QPixmap>
#include <QStorageInfo>

#include "app/LocalizedString.h"
#include "controls/CustomCell.h"
#include "platform/OutsideText.h"
#include "platform/ui/BundleImage.h"

namespace
{

constexpr int kIconSide = 20;

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

// By the entry's kind and name alone: the path itself may be on a share that no longer answers.
QPixmap rowIcon(const QString &path, bool folder, ScanSource source)
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

const QPixmap &greyedIcon()
{
    static const QPixmap &icon = *new QPixmap(
        QFileIconProvider().icon(QFileIconProvider::Folder).pixmap(kIconSide, QIcon::Disabled));
    return icon;
}

} // namespace

ScanListModel::ScanListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

QString ScanListModel::displayPath(const QString &path, ScanSource source)
{
    if (source == ScanSource::thisComputer && path == QLatin1String("/"))
        return QStorageInfo::root().displayName();
    return path;
}

void ScanListModel::setRows(
    const std::vector<FilePathNode> &nodes, ScanSource source, const QHash<QString, EntryAnswer> &answers)
{
    const int had = int(m_rows.size()), has = int(nodes.size());
    if (has < had) {
        beginRemoveRows(QModelIndex(), has, had - 1);
        m_rows.resize(size_t(has));
        endRemoveRows();
    }
    std::vector<Row> rows;
    rows.reserve(nodes.size());
    for (const FilePathNode &node : nodes) {
        const QString path = node.filePath.value_or(QString());
        rows.push_back({ path, node.state == 1, node.nodeType != GlobalObjects::NodeType::nodeTypefile,
            greyedFor(path, source, answers) });
    }
    m_source = source;
    if (has > had)
        beginInsertRows(QModelIndex(), had, has - 1);
    m_rows = std::move(rows);
    if (has > had)
        endInsertRows();
    // The rows kept may show other entries now (one removed above them): each is drawn afresh.
    if (const int kept = std::min(had, has); kept > 0)
        emit dataChanged(index(0), index(kept - 1));
}

int ScanListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QString ScanListModel::shown(const Row &row) const
{
    return OutsideText::name(displayPath(row.path, m_source));
}

QVariant ScanListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const Row &row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return shown(row);
    case Qt::ToolTipRole:
        return OutsideText::toolTip(row.greyedFor
                ? shown(row) + QLatin1Char('\n') + localizedString(QString::fromLatin1(row.greyedFor))
                : shown(row));
    case Qt::CheckStateRole:
        return row.checked ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        return row.greyedFor ? greyedIcon() : rowIcon(row.path, row.folder, m_source);
    case GreyedRole:
        return row.greyedFor != nullptr;
    case CustomCell::DrawnRole:
        return true;
    default:
        return {};
    }
}

bool ScanListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= int(m_rows.size()))
        return false;
    m_rows[size_t(index.row())].checked = value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, { Qt::CheckStateRole });
    return true;
}
