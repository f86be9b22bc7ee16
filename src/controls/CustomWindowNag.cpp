// Borderless sheet window.
#include "controls/CustomWindowNag.h"

#include "controls/DefaultButtonKeys.h"

CustomWindowNag::CustomWindowNag(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, borderless(flags))
{
    setWindowModality(Qt::WindowModal);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void CustomWindowNag::setWindowFlags(Qt::WindowFlags flags)
{
    QWidget::setWindowFlags(borderless(flags));
}

Qt::WindowFlags CustomWindowNag::borderless(Qt::WindowFlags flags)
{
    const Qt::WindowFlags frameHints = Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint
        | Qt::WindowShadeButtonHint | Qt::CustomizeWindowHint;
    return (flags & ~frameHints & ~Qt::WindowType_Mask) | Qt::Dialog | Qt::FramelessWindowHint;
}

void CustomWindowNag::setKeyButtons(QAbstractButton *defaultButton, QAbstractButton *cancelButton)
{
    m_keys = DefaultButtonKeys::install(this, defaultButton, cancelButton);
    if (defaultButton && isVisible() && !isAncestorOf(focusWidget()))
        defaultButton->setFocus(Qt::OtherFocusReason);
}

QAbstractButton *CustomWindowNag::defaultButton() const
{
    return m_keys ? m_keys->defaultButton.data() : nullptr;
}

QAbstractButton *CustomWindowNag::cancelButton() const
{
    return m_keys ? m_keys->cancelButton.data() : nullptr;
}

void CustomWindowNag::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QAbstractButton *button = defaultButton();
    if (button && button->isEnabled() && !isAncestorOf(focusWidget()))
        button->setFocus(Qt::OtherFocusReason);
}
