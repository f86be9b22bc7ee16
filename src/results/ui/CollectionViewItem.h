// The cell of the results grid: one file of a group with its picture, video and library badges, name,
// info line, mark check box, lock image and the strip along its bottom that shows the mark state. The
// grid reuses cells as it scrolls; each configuration records the index path and the record shown,
// so late thumbnail loads and check-box clicks always refer to what the cell shows now.
#pragma once

#include <memory>
#include <optional>

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "controls/ElidingLabel.h"
#include "controls/GradientBox.h"
#include "controls/IndexPath.h"
#include "results/ui/ItemImageView.h"

class ImageFileInfo;

class CollectionViewItem : public QWidget
{
    Q_OBJECT
public:
    explicit CollectionViewItem(QWidget *parent = nullptr);

    // The picture area of a cell; thumbnails are made to fit it.
    static constexpr int kImageWidth = 248;
    static constexpr int kImageHeight = 244;

    QPointer<QLabel> imgVideo;
    QPointer<QLabel> imgViewLock;
    QPointer<QLabel> imgViewiPhoto;
    QPointer<QCheckBox> btnCheckBox;
    // Kept for the interface; nothing uses it.
    QPointer<QLabel> imgViewDelete;
    QPointer<GradientBox> boxBottomForItem;
    // The file's name, shortened in its middle when it does not fit: its start and extension show.
    QPointer<ElidingLabel> lblName;
    QPointer<QLabel> lblImageInfo;
    QPointer<ItemImageView> imageItem;
    std::optional<IndexPath> indexpathForCell;

    // The record the cell shows now; a thumbnail load for another record leaves the cell alone.
    void setRepresentedRecord(const std::shared_ptr<ImageFileInfo> &record) { m_record = record; }
    bool isShowing(const ImageFileInfo *record) const;

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // The cell the grid's keys act on, while the grid has the keyboard focus: the focus mark
    // inside the selection frame.
    bool showsFocusMark() const { return m_focusMark; }
    void setShowsFocusMark(bool shows);

    // Action of the check box: posts "SelectUnselectPhoto" with the index path the cell shows.
    void markUnmarkImage();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *makeBadge(const QString &imageName, const QSize &size);

    std::weak_ptr<ImageFileInfo> m_record;
    bool m_selected = false;
    bool m_focusMark = false;
};
