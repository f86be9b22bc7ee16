#include "controls/ElidingLabel.h"

#include <QEvent>

#include "platform/OutsideText.h"

ElidingLabel::ElidingLabel(Qt::TextElideMode mode, QWidget *parent)
    : QLabel(parent)
    , m_mode(mode)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidingLabel::setWholeText(const QString &text)
{
    m_whole = text;
    elide();
}

QSize ElidingLabel::sizeHint() const
{
    const QMargins around = contentsMargins();
    return { fontMetrics().horizontalAdvance(m_whole) + around.left() + around.right() + 2 * margin(),
        minimumSizeHint().height() };
}

QSize ElidingLabel::minimumSizeHint() const
{
    // One line, whatever part of the text shows now.
    const QMargins around = contentsMargins();
    return { 0, fontMetrics().height() + around.top() + around.bottom() + 2 * margin() };
}

void ElidingLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidingLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        elide();
}

void ElidingLabel::elide()
{
    const int room = contentsRect().width();
    const QString shown = fontMetrics().elidedText(m_whole, m_mode, room);
    setText(shown);
    setToolTip(shown == m_whole ? QString() : OutsideText::toolTip(m_whole));
}
