#include "preferences/ui/PaneContainer.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

#include "platform/SystemFonts.h"

namespace
{

constexpr int kSectionLabelPixelSize = 13;
constexpr int kDividerHeight = 20;

QWidget *makeDivider()
{
    auto *divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setFixedHeight(kDividerHeight);
    return divider;
}

} // namespace

PaneSection PaneSection::titled(const QString &title, QWidget *content, bool bottomDivider)
{
    auto *label = new QLabel(title);
    label->setFont(SystemFonts::systemFont(kSectionLabelPixelSize));
    return { label, content, bottomDivider };
}

PaneContainer::PaneContainer(const std::vector<PaneSection> &sections, int contentWidth, QWidget *parent)
    : QWidget(parent)
    , m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(30, 20, 30, 20);
    int row = 0;
    for (size_t index = 0; index < sections.size(); ++index) {
        const PaneSection &section = sections.at(index);
        if (section.label)
            m_grid->addWidget(section.label, row, 0, Qt::AlignRight | Qt::AlignTop);
        if (section.content)
            m_grid->addWidget(section.content, row, 1, Qt::AlignLeft | Qt::AlignTop);
        ++row;
        // The last section never gets a divider; the others' start where the widest label starts.
        if (section.bottomDivider && index + 1 < sections.size())
            m_grid->addWidget(makeDivider(), row++, 0, 1, 2);
    }
    m_grid->setColumnStretch(1, 1);
    setFixedWidth(contentWidth + 60);
}

int PaneContainer::maxLabelWidth() const
{
    int widest = 0;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        QLayoutItem *item = m_grid->itemAtPosition(row, 0);
        if (item && item->widget() && m_grid->itemAtPosition(row, 1) != item)
            widest = std::max(widest, item->widget()->sizeHint().width());
    }
    return widest;
}
