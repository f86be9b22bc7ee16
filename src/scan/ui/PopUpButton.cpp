#include "scan/ui/PopUpButton.h"

#include <QAction>
#include <QMenu>

PopUpButton::PopUpButton(QWidget *parent)
    : QPushButton(parent)
    , m_menu(new QMenu(this))
{
    setMenu(m_menu);
    // The menu opens on the selected item, so the keys start from it and the eye finds it.
    connect(m_menu, &QMenu::aboutToShow, this, [this] { m_menu->setActiveAction(itemAtIndex(m_selected)); });
    connect(m_menu, &QMenu::triggered, this, [this](QAction *action) {
        const int index = int(m_menu->actions().indexOf(action));
        selectItemAtIndex(index);
        emit itemSelected(index);
    });
}

QAction *PopUpButton::addItemWithTitle(const QString &title)
{
    QAction *action = m_menu->addAction(title);
    connect(action, &QAction::changed, this, &PopUpButton::refreshTitle);
    if (m_selected < 0)
        selectItemAtIndex(0);
    return action;
}

QAction *PopUpButton::itemAtIndex(int index) const
{
    const QList<QAction *> items = m_menu->actions();
    return index >= 0 && index < items.size() ? items.at(index) : nullptr;
}

int PopUpButton::numberOfItems() const
{
    return int(m_menu->actions().size());
}

void PopUpButton::selectItemAtIndex(int index)
{
    m_selected = itemAtIndex(index) ? index : -1;
    refreshTitle();
}

int PopUpButton::tagOfItem(int index) const
{
    const QAction *item = itemAtIndex(index);
    return item && item->data().isValid() ? item->data().toInt() : index;
}

void PopUpButton::selectItemWithTag(int tag)
{
    for (int index = 0; index < numberOfItems(); ++index) {
        if (tagOfItem(index) == tag) {
            selectItemAtIndex(index);
            return;
        }
    }
    selectItemAtIndex(-1);
}

void PopUpButton::refreshTitle()
{
    const QAction *item = itemAtIndex(m_selected);
    setText(item ? item->text() : QString());
    setIcon(item ? item->icon() : QIcon());
}
