// The scroll bar of the application's scroll views. In the legacy (always shown) style it draws
// only a rounded slate-blue knob on a clear background; in the overlay style it draws as the
// desktop does, adding the slot only while the mouse is over it.
#pragma once

#include <QColor>
#include <QRectF>
#include <QScrollBar>

class CustomScrollView : public QScrollBar
{
    Q_OBJECT

public:
    enum class ScrollerStyle { Legacy, Overlay };

    explicit CustomScrollView(Qt::Orientation orientation, QWidget *parent = nullptr);
    explicit CustomScrollView(QWidget *parent = nullptr)
        : CustomScrollView(Qt::Vertical, parent)
    {
    }

    void setScrollerStyle(ScrollerStyle style);
    ScrollerStyle scrollerStyle() const { return m_style; }
    bool isHighlight() const { return m_isHighlight; }

    // The knob part as the style lays it out, and the rounded rectangle drawn for it in the
    // legacy style.
    QRectF knobPartRect() const;
    virtual QRectF knobRectFor(const QRectF &knobPart) const;
    virtual QColor knobColor() const { return QColor(85, 92, 118); }
    // Whether the last drawing drew the slot.
    bool drewSlot() const { return m_drewSlot; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    ScrollerStyle m_style = ScrollerStyle::Legacy;
    bool m_isHighlight = false;
    bool m_drewSlot = false;
};
