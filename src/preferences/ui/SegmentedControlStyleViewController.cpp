#include "preferences/ui/SegmentedControlStyleViewController.h"

#include <QAction>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QWidgetAction>

#include "platform/SystemFonts.h"
#include "preferences/ui/PreferencePane.h"

SegmentedControlStyleViewController::SegmentedControlStyleViewController(
    std::vector<std::shared_ptr<PreferencePane>> panes)
    : m_preferencePanes(std::move(panes))
{
}

SegmentedControlStyleViewController::~SegmentedControlStyleViewController()
{
    // Once handed to the toolbar, the control and its menu belong to the toolbar's action.
    if (m_view && !m_view->parent())
        delete m_view;
}

QStringList SegmentedControlStyleViewController::toolbarItemIdentifiers() const
{
    return { kFlexibleSpaceIdentifier, kToolbarSegmentedControlItem, kFlexibleSpaceIdentifier };
}

QWidget *SegmentedControlStyleViewController::view()
{
    if (!m_view)
        m_view = makeSegmentedControl();
    return m_view;
}

QSize SegmentedControlStyleViewController::segmentSize() const
{
    const QFontMetrics metrics(SystemFonts::systemFont(0));
    int widest = 0;
    int tallest = 0;
    for (const auto &pane : m_preferencePanes) {
        const QSize title = metrics.size(Qt::TextSingleLine, pane->preferencePaneTitle());
        widest = std::max(widest, title.width());
        tallest = std::max(tallest, title.height());
    }
    return { widest + 36, tallest + 12 };
}

QWidget *SegmentedControlStyleViewController::makeSegmentedControl()
{
    auto *control = new QWidget;
    control->setObjectName(kToolbarSegmentedControl);
    m_segments = new QButtonGroup(control);
    m_segments->setExclusive(true);
    // One pixel of border around and between the segments: n segments are n * w + n + 1 wide.
    auto *layout = new QHBoxLayout(control);
    layout->setContentsMargins(1, 0, 1, 0);
    layout->setSpacing(1);
    const QSize segment = segmentSize();
    const int count = static_cast<int>(m_preferencePanes.size());
    for (int index = 0; index < count; ++index) {
        auto *button
            = new QPushButton(m_preferencePanes.at(static_cast<size_t>(index))->preferencePaneTitle());
        button->setCheckable(true);
        button->setFont(SystemFonts::systemFont(0));
        button->setFixedSize(segment);
        m_segments->addButton(button, index);
        layout->addWidget(button);
    }
    control->setFixedSize(segment.width() * count + count + 1, segment.height());
    connect(m_segments, &QButtonGroup::idClicked, this, [this] { segmentedControlAction(); });
    return control;
}

QAction *SegmentedControlStyleViewController::toolbarItem(const QString &identifier, QObject *parent)
{
    if (identifier != kToolbarSegmentedControlItem)
        qFatal("The segmented preferences style has no toolbar item \"%s\"", qPrintable(identifier));
    auto *item = new QWidgetAction(parent);
    item->setObjectName(identifier);
    item->setDefaultWidget(view());
    m_menu = new QMenu(view());
    for (size_t index = 0; index < m_preferencePanes.size(); ++index) {
        const QString title = m_preferencePanes.at(index)->preferencePaneTitle();
        QAction *menuItem = m_menu->addAction(title);
        menuItem->setObjectName(QStringLiteral("segment-") + title);
        menuItem->setData(static_cast<int>(index));
        connect(
            menuItem, &QAction::triggered, this, [this, menuItem] { segmentedControlMenuAction(menuItem); });
    }
    item->setMenu(m_menu);
    return item;
}

void SegmentedControlStyleViewController::selectPane(int index)
{
    view();
    if (QAbstractButton *segment = m_segments->button(index))
        segment->setChecked(true);
}

int SegmentedControlStyleViewController::selectedSegment() const
{
    return m_segments ? m_segments->checkedId() : -1;
}

void SegmentedControlStyleViewController::segmentedControlAction()
{
    if (PreferencesStyleControllerDelegate *receiver = delegate())
        receiver->activatePane(selectedSegment(), true);
}

void SegmentedControlStyleViewController::segmentedControlMenuAction(QAction *menuItem)
{
    if (PreferencesStyleControllerDelegate *receiver = delegate())
        receiver->activatePane(menuItem->data().toInt(), true);
}
