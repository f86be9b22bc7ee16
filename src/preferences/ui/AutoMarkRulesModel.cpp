#include "preferences/ui/AutoMarkRulesModel.h"

#include <QMimeData>

#include "app/LocalizedString.h"
#include "platform/TextFormat.h"
#include "preferences/AutoMarkRuleList.h"

AutoMarkRulesModel::AutoMarkRulesModel(const AutoMarkRuleList &rules, MoveRows moveRows, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rules(rules)
    , m_moveRows(std::move(moveRows))
{
}

QString AutoMarkRulesModel::displayText(const QVariant &stored)
{
    const QString text = stored.toString();
    // Rules keep keys; a text that is no key (a description built in some language) shows as it is.
    if (!text.startsWith(QLatin1String("ID_")))
        return text;
    const QString localized = localizedString(text);
    return localized.isEmpty() ? text : localized;
}

QString AutoMarkRulesModel::columnIdentifier(int column)
{
    static const QStringList identifiers { QStringLiteral("idNumber"), QStringLiteral("idState"),
        QStringLiteral("idName"), QStringLiteral("idDescription") };
    return identifiers.value(column);
}

void AutoMarkRulesModel::reload()
{
    beginResetModel();
    endResetModel();
}

int AutoMarkRulesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rules.count();
}

int AutoMarkRulesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant AutoMarkRulesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    switch (index.column()) {
    case idNumber:
        return role == Qt::DisplayRole ? QVariant(formatText(QStringLiteral("%d"), index.row() + 1))
                                       : QVariant();
    case idName:
        return displayText(m_rules.rule(index.row()).value(QStringLiteral("name")));
    default:
        // The check box and the description (text or choice) are cell widgets.
        return {};
    }
}

QVariant AutoMarkRulesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::UserRole)
        return columnIdentifier(section);
    return m_headers.value({ section, role }, QAbstractTableModel::headerData(section, orientation, role));
}

bool AutoMarkRulesModel::setHeaderData(
    int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return false;
    m_headers.insert({ section, role }, value);
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags AutoMarkRulesModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList AutoMarkRulesModel::mimeTypes() const
{
    return { kDragDropType };
}

QMimeData *AutoMarkRulesModel::mimeData(const QModelIndexList &indexes) const
{
    QStringList rows;
    for (const QModelIndex &index : indexes) {
        const QString row = QString::number(index.row());
        if (index.isValid() && !rows.contains(row))
            rows.append(row);
    }
    auto *data = new QMimeData;
    data->setData(kDragDropType, rows.join(QLatin1Char('\n')).toUtf8());
    return data;
}

Qt::DropActions AutoMarkRulesModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions AutoMarkRulesModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

bool AutoMarkRulesModel::canDropMimeData(
    const QMimeData *data, Qt::DropAction, int row, int, const QModelIndex &parent) const
{
    if (!data || !data->hasFormat(kDragDropType))
        return false;
    return !(parent.isValid() && row < 0);
}

bool AutoMarkRulesModel::dropMimeData(
    const QMimeData *data, Qt::DropAction action, int row, int column, const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    QList<int> rows;
    for (const QByteArray &line : data->data(kDragDropType).split('\n')) {
        bool isNumber = false;
        const int dragged = line.trimmed().toInt(&isNumber);
        if (isNumber)
            rows.append(dragged);
    }
    if (m_moveRows)
        m_moveRows(rows, row < 0 ? rowCount() : row);
    return true;
}
