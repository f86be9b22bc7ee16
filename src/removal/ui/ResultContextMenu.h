// Marking by hand in the results window: Mark/Unmark and Lock/Unlock at the top of the grid's and
// list's context menu, validated each time the menu opens, Remove from list, the list rows' check
// boxes and the Unmark All button. The work itself is ManualMarking's; this keeps the views in step.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QAction>
#include <QObject>
#include <QPointer>

#include "removal/ManualMarking.h"
#include "removal/MenuValidation.h"

class ImageFileInfo;
class ResultViewController;
class ResultWindowBuilder;

class ResultContextMenu : public QObject
{
    Q_OBJECT
public:
    // Extends the controller's context menu and connects the check boxes and Unmark All; the
    // controller's view must be loaded.
    explicit ResultContextMenu(ResultViewController &controller, QObject *parent = nullptr);
    // The controller outlives this; its list stops calling back here.
    ~ResultContextMenu() override;

    // Titles, enables and records the direction of every item for the clicked file.
    void validateMenu();
    void markUnmarkImage();
    void lockUnLock();
    void removeFromPhotoList();
    void btnOutlineCheckBoxTapped(const std::shared_ptr<ImageFileInfo> &record);
    void btnMarkUnmarkClicked();

    // Whether the file system holds a file immutable, nothing when that cannot be told in time; a
    // bounded look when empty.
    std::function<std::optional<bool>(const QString &path)> isImmutable;

    QPointer<QAction> menuItemMarkUnmark, menuItemLockUnLock;

private:
    std::shared_ptr<ImageFileInfo> clickedRecord() const;
    MenuValidation::Action actionOf(const QAction *item) const;
    // Shows the record's new state in the grid cell or list row that shows it.
    void showMarkState(const ImageFileInfo &record);
    // The grid or the list, whichever shows: the place to say why a mark was refused.
    QWidget *markedView() const;

    ResultViewController &m_c;
    QPointer<ResultWindowBuilder> m_builder;
    ManualMarking m_marking;
};
