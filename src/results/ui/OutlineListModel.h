// The tree of the results list: a row per shown group and under it a row per shown file of the
// group, read straight from the results state (it keeps no copy). Group rows cannot be selected.
#pragma once

#include <memory>

#include <QAbstractItemModel>
#include <QColor>

class DuplicatesGroup;
class ImageFileInfo;
class ResultState;

class OutlineListModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    static constexpr int kRowHeight = 30;

    explicit OutlineListModel(const ResultState &state, QObject *parent = nullptr);

    // Re-reads the groups after they changed.
    void reload();

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The item of a row: a group, a file, or neither (both null).
    std::shared_ptr<DuplicatesGroup> groupAt(const QModelIndex &index) const;
    std::shared_ptr<ImageFileInfo> recordAt(const QModelIndex &index) const;
    // Index of the group that holds the file row, in the shown groups.
    int groupIndexOf(const QModelIndex &index) const;
    QModelIndex indexOfRecord(const ImageFileInfo *record) const;

    static QColor groupRowColor();
    static QColor fileRowColor(int groupIndex);

private:
    const ResultState &m_state;
};
