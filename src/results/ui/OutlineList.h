// The results window's list mode: the groups and their files as a two-level list (outlineDupliates)
// under a row of column titles. Each row is one wide cell whose labels stand in the columns the
// titles share; a file row carries the mark check box or the lock. Selecting files previews the topmost one.
#pragma once

#include <functional>
#include <memory>

#include <QColor>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>

class CustomCell;
#include "controls/CustomOutlineView.h"
class DuplicatesGroup;
class ImageFileInfo;
class OutlineListDelegate;
class OutlineListModel;
class ResultState;
#include <QLabel>
class QWidget;

class OutlineList : public QObject
{
    Q_OBJECT
public:
    // Builds the list inside `container` (the window's viewListView).
    OutlineList(ResultState &state, QWidget *container, QObject *parent = nullptr);
    ~OutlineList() override;

    // Re-reads the groups and selects the row of `current` when it is still shown.
    void reloadData(const std::shared_ptr<ImageFileInfo> &current = nullptr);
    // Selects the row of `record` (nothing when it is not shown), previewing it.
    void selectRecord(const ImageFileInfo *record);
    // The file of the topmost selected row; for a group row set by the program its first file.
    std::shared_ptr<ImageFileInfo> selectedRecord() const;
    // The file under the last context click; null for a group row or none.
    std::shared_ptr<ImageFileInfo> clickedRecord() const;
    void setClickedRow(int row);

    // The cell of a visual row (rows counted from the top, groups and files alike); null for a row
    // past the end. The caller owns it.
    CustomCell *viewForRow(int row) const;
    int rowCount() const;
    // Background colour of a visual row.
    QColor rowColor(int row) const;

    CustomOutlineView *outlineDupliates() const { return m_view; }
    OutlineListModel &model() { return *m_model; }

    // Column titles above the list.
    QPointer<QLabel> lblFileName, lblFileSize, lblCreatedDate, lblFileType, lblFolderPath;

    // The controller's hooks: the metadata refill and the preview update for the selected file,
    // the mark check box of a file row, and the context menu over a row.
    std::function<void(const std::shared_ptr<ImageFileInfo> &)> fillMetaDataTable;
    std::function<void(const std::shared_ptr<ImageFileInfo> &)> changeAllComponents;
    std::function<void(const std::shared_ptr<ImageFileInfo> &)> btnOutlineCheckBoxTapped;
    std::function<void(const QPoint &globalPosition, bool byKeyboard)> showContextMenu;

    static CustomCell *makeGroupCell(const DuplicatesGroup &group, int groupIndex);
    // A file row `rowWidth` wide whose type column holds a title `typeTitleWidth` wide.
    static CustomCell *makeFileCell(const ImageFileInfo &record, int rowWidth = kDefaultRowWidth,
        int typeTitleWidth = 0);

    void outlineViewSelectionDidChange();

    // Where the view draws its rows: their width, and their left edge in the list's container.
    int rowWidth() const;
    int rowLeft() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static constexpr int kDefaultRowWidth = 1000;

    QWidget *buildHeader(QWidget *parent);
    void layoutColumnTitles();
    QModelIndex indexOfVisualRow(int row) const;

    ResultState &m_state;
    OutlineListModel *m_model = nullptr;
    QPointer<CustomOutlineView> m_view;
    QPointer<QWidget> m_header;
    OutlineListDelegate *m_delegate = nullptr;
    int m_typeTitleWidth = 0;
    QPersistentModelIndex m_clicked;
    bool m_reloading = false;
    // Whether the keyboard asked for the menu being opened (the view's signal does not tell).
    bool m_menuByKeyboard = false;
};
