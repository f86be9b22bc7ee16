// The rows of the scan-list table as its delegate draws them: each entry's path as shown, its tick,
// its icon and the reason it is greyed. A row holds its entry's path shared, not copied, and nothing
// else is made for it until it is drawn, so a list of tens of thousands of folders costs a few
// bytes a row.
#pragma once

#include <vector>

#include <QAbstractListModel>
#include <QHash>

#include "app/GlobalObjects.h"
#include "model/FilePathNode.h"
#include "scan/ui/ScanListState.h"

class ScanListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // True for a row shown greyed: its entry is away or does not answer. It can still be ticked
    // or removed.
    static constexpr int GreyedRole = Qt::UserRole + 1;

    explicit ScanListModel(QObject *parent = nullptr);

    // Takes the rows of `nodes`, entries of the source `source`; `answers` is what the last look at
    // an entry of this computer found. Rows are added or dropped at the end only and the others
    // changed in place, so the current row and the scrolled place stay. Nothing is looked at.
    void setRows(const std::vector<FilePathNode> &nodes, ScanSource source,
        const QHash<QString, EntryAnswer> &answers);

    // The text a row shows for `path` (the start-up volume's name for the root folder).
    static QString displayPath(const QString &path, ScanSource source);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // A tick shows at once; the list it belongs to hears of it from the delegate.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    struct Row {
        QString path;
        bool checked = false;
        bool folder = false;
        // The text key of why the row is greyed, or null.
        const char *greyedFor = nullptr;
    };

    QString shown(const Row &row) const;

    std::vector<Row> m_rows;
    ScanSource m_source = ScanSource::thisComputer;
};
