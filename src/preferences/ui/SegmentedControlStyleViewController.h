// The segmented style: one control of equal segments, one per pane, centred in the toolbar between
// two stretching gaps. In the toolbar's overflow menu it offers one menu item per pane.
#pragma once

#include <memory>
#include <vector>

#include <QButtonGroup>
#include <QMenu>
#include <QPointer>
#include <QSize>

#include "preferences/ui/PreferencesStyleController.h"

class PreferencePane;
class QAction;
class QWidget;

class SegmentedControlStyleViewController : public PreferencesStyleController
{
    Q_OBJECT
public:
    static inline const QString kToolbarSegmentedControlItem = QStringLiteral("toolbarSegmentedControlItem");
    static inline const QString kToolbarSegmentedControl = QStringLiteral("toolbarSegmentedControl");

    explicit SegmentedControlStyleViewController(std::vector<std::shared_ptr<PreferencePane>> panes);
    ~SegmentedControlStyleViewController() override;

    bool keepsWindowCentered() const override { return true; }
    QStringList toolbarItemIdentifiers() const override;
    QAction *toolbarItem(const QString &identifier, QObject *parent) override;
    void selectPane(int index) override;

    // The segmented control, made on first use.
    QWidget *view();
    // Every segment's size: the widest title + 36 by the tallest title + 12.
    QSize segmentSize() const;
    int selectedSegment() const;
    // One item per pane, titled with the pane's title, its data the pane's index.
    QMenu *menuFormRepresentation() const { return m_menu; }

    void segmentedControlAction();
    void segmentedControlMenuAction(QAction *menuItem);

private:
    QWidget *makeSegmentedControl();

    std::vector<std::shared_ptr<PreferencePane>> m_preferencePanes;
    QPointer<QWidget> m_view;
    QPointer<QButtonGroup> m_segments;
    QPointer<QMenu> m_menu;
};
