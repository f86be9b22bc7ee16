// Link-styled button.
#include "controls/LinkButton.h"

#include <QFontMetrics>
#include <QPainter>

#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"

namespace
{

// Room around the title for the focus mark, so the mark never touches or covers a letter.
constexpr int kPaddingX = 6;
constexpr int kPaddingY = 3;

} // namespace

LinkButton::LinkButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
}

Qt::Alignment LinkButton::toQt(int alignment)
{
    switch (alignment) {
    case AlignRightValue:
        return Qt::AlignRight;
    case AlignCenterValue:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

void LinkButton::applyFont(float fontSize, bool bold)
{
    setFont(bold ? ControlFonts::lucidaGrandeBold(fontSize) : ControlFonts::systemFont(fontSize));
}

void LinkButton::setTitle(const QString &title)
{
    m_color = linkColor();
    setText(title);
    update();
}

void LinkButton::setTitle(const QString &title, int alignment)
{
    m_color = Qt::blue;
    m_alignment = toQt(alignment);
    setText(title);
    update();
}

void LinkButton::setTitleWithAlignment(const QString &title)
{
    setTitle(title, AlignRightValue);
}

void LinkButton::setTitleWithAlignment(const QString &title, float fontSize, bool bold)
{
    applyFont(fontSize, bold);
    setTitle(title, AlignRightValue);
}

void LinkButton::setfontSize(float fontSize, bool bold)
{
    applyFont(fontSize, bold);
    setTitle(text());
}

void LinkButton::setTitle(const QString &title, float fontSize, bool bold)
{
    applyFont(fontSize, bold);
    m_color = Qt::blue;
    setText(title);
    update();
}

void LinkButton::setTitle(const QString &title, float fontSize, bool bold, const QColor &color)
{
    setFont(bold ? ControlFonts::boldSystemFont(fontSize) : ControlFonts::systemFont(fontSize));
    m_color = color.isValid() ? color : QColor(Qt::blue);
    m_alignment = Qt::AlignLeft;
    setText(title);
    update();
}

void LinkButton::setTitleColor(const QColor &color)
{
    m_color = color;
    update();
}

QFont LinkButton::titleFont() const
{
    QFont underlined = font();
    underlined.setUnderline(true);
    return underlined;
}

QSize LinkButton::sizeHint() const
{
    const QFontMetrics metrics(titleFont());
    return QSize(metrics.horizontalAdvance(text()) + 2 * kPaddingX, metrics.height() + 2 * kPaddingY);
}

void LinkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(titleFont());
    painter.setPen(m_color);
    QRect drawn;
    painter.drawText(rect().adjusted(kPaddingX, 0, -kPaddingX, 0), static_cast<int>(m_alignment | Qt::AlignVCenter),
        text(), &drawn);
    // Around the title, not the whole width the link may be given; thin, as around any label.
    if (hasFocus())
        ControlStyles::drawFocusMark(
            painter, drawn.adjusted(1 - kPaddingX, -kPaddingY, kPaddingX - 1, kPaddingY) & rect(), 1);
}
