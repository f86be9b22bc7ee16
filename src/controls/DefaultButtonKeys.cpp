#include "controls/DefaultButtonKeys.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QWidget>

DefaultButtonKeys::DefaultButtonKeys(QWidget *area)
    : QObject(area)
    , m_area(area)
{
    area->installEventFilter(this);
}

DefaultButtonKeys *DefaultButtonKeys::install(
    QWidget *area, QAbstractButton *defaultButton, QAbstractButton *cancelButton)
{
    auto *keys = area->findChild<DefaultButtonKeys *>(QString(), Qt::FindDirectChildrenOnly);
    if (!keys)
        keys = new DefaultButtonKeys(area);
    keys->defaultButton = defaultButton;
    keys->cancelButton = cancelButton;
    return keys;
}

bool DefaultButtonKeys::press(QAbstractButton *button)
{
    if (!button || !button->isEnabled() || !button->isVisibleTo(button->window()))
        return false;
    button->click();
    return true;
}

bool DefaultButtonKeys::answer(int key)
{
    if (key == Qt::Key_Escape)
        return press(cancelButton);
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // A focused push button answers Return itself; a check box or radio button leaves it to the
    // default button.
    auto *focused = qobject_cast<QAbstractButton *>(m_area->focusWidget());
    const bool choice = qobject_cast<QCheckBox *>(focused) || qobject_cast<QRadioButton *>(focused);
    if (focused && !choice && m_area->isAncestorOf(focused))
        return press(focused);
    return press(defaultButton);
}

bool DefaultButtonKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && answer(key->key()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
