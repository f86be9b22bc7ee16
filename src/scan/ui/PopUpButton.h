// A button that shows the title of its selected item and offers its items in a menu. Items are
// actions, so they can be retitled and hidden one by one.
#pragma once

#include <QPushButton>

class QAction;
class QMenu;

class PopUpButton : public QPushButton
{
    Q_OBJECT
public:
    explicit PopUpButton(QWidget *parent = nullptr);

    QAction *addItemWithTitle(const QString &title);
    QAction *itemAtIndex(int index) const;
    int numberOfItems() const;

    // An index outside the items selects nothing (-1).
    void selectItemAtIndex(int index);
    // The value an item stands for, when it differs from its place in the menu (QAction data);
    // otherwise its index.
    int tagOfItem(int index) const;
    // The item that stands for `tag`; nothing (-1) when none does.
    void selectItemWithTag(int tag);
    int indexOfSelectedItem() const { return m_selected; }
    QMenu *itemMenu() const { return m_menu; }

signals:
    // The user chose an item.
    void itemSelected(int index);

private:
    void refreshTitle();

    QMenu *m_menu;
    int m_selected = -1;
};
