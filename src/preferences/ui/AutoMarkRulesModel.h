// The rows of the auto-mark rules table: priority number, name and description texts, and the
// dragging of rows, which the pane turns into a new stored order.
#pragma once

#include <functional>

#include <QAbstractTableModel>
#include <QHash>

class AutoMarkRuleList;

class AutoMarkRulesModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { idNumber = 0, idState = 1, idName = 2, idDescription = 3 };
    static inline const QString kDragDropType = QStringLiteral("private.table-row");
    // Moves the dragged rows above the target row; the pane does it and reloads.
    using MoveRows = std::function<void(const QList<int> &rows, int target)>;

    AutoMarkRulesModel(const AutoMarkRuleList &rules, MoveRows moveRows, QObject *parent = nullptr);

    // The stored text of a rule, looked up when it is a key of the string table.
    static QString displayText(const QVariant &stored);
    // The column's identifier ("idNumber", "idState", "idName", "idDescription").
    static QString columnIdentifier(int column);

    void reload();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    // A drop between rows (or below the last) is a move; a drop onto a row is refused.
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
        const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
        const QModelIndex &parent) override;

private:
    const AutoMarkRuleList &m_rules;
    MoveRows m_moveRows;
    QHash<QPair<int, int>, QVariant> m_headers;
};
