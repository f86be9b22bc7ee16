#include "controls/ControlStyles.h"

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QFrame>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include "controls/CFMButton.h"
#include "controls/IMGButton.h"

namespace
{

constexpr double kSixteenthHeight = -0.0625;
// What a focus mark's line must stand out from what lies beside it by, at the least.
constexpr double kLeastFocusContrast = 3.0;
constexpr int kFlatButtonFontSize = 14;

} // namespace

void ControlStyles::styleFlatButton(CFMButton *button, const FlatButtonStyle &style)
{
    const double radius = style.radius < 0 ? -style.radius * button->height() : style.radius;
    button->setButtonInsideColor(style.inside, style.insideDisabled, style.text, style.textDisabled,
        style.border, style.borderDisabled, radius, kFlatButtonFontSize, false, false, style.outerLineWidth);
}

void ControlStyles::applyWindowPalette(QWidget *window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(0x1e, 0x26, 0x38));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Button, QColor(0x2f, 0x3a, 0x55));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Base, QColor(0x16, 0x1c, 0x2a));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 138, 155));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 138, 155));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void ControlStyles::applyPanelPalette(QWidget *panel)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(0x26, 0x30, 0x4a));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}

void ControlStyles::applySheetEdge(QFrame *panel)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Mid, QColor(0x5a, 0x68, 0x8c));
    panel->setPalette(palette);
    // The texts inside keep the window's text colour; only the frame is drawn in the edge colour.
    panel->setForegroundRole(QPalette::Mid);
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(1);
}

void ControlStyles::styleChoiceButton(QAbstractButton *button)
{
    const bool radio = button->inherits("QRadioButton");
    const QString type = radio ? QStringLiteral("QRadioButton") : QStringLiteral("QCheckBox");
    const QString round
        = radio ? QStringLiteral("border-radius: 8px;") : QStringLiteral("border-radius: 3px;");
    button->setProperty(kOwnFocusMark, true);
    button->setStyleSheet(
        // The focus frames the box and its title; the frame is there, unseen, without the focus,
        // so the title does not move when the focus comes.
        QStringLiteral("%1 { color: white; spacing: 6px; border: 2px solid transparent; border-radius: 4px;"
                       " padding: 0px 3px 0px 1px; }"
                       "%1:focus { border-color: %3; }"
                       "%1:disabled { color: rgb(130, 138, 155); }"
                       "%1::indicator { width: 12px; height: 12px; border: 2px solid rgb(205, 212, 228); %2"
                       " background: rgb(30, 38, 56); }"
                       "%1::indicator:checked { border-color: white; background: rgb(52, 140, 250); }"
                       "%1::indicator:focus { border-color: %3; }"
                       "%1::indicator:disabled { border-color: rgb(95, 104, 124); }"
                       "%1::indicator:checked:disabled { background: rgb(70, 92, 130); }")
            .arg(type, round, focusMarkColor().name()));
}

FlatButtonStyle ControlStyles::stopAddingPhotosStyle()
{
    return { QColor(54, 63, 84), QColor(190, 190, 190), QColor(208, 210, 213), QColor(208, 210, 213),
        QColor(110, 116, 131), QColor(169, 169, 169), kSixteenthHeight, 1 };
}

void ControlStyles::styleSheetImageButton(IMGButton *button, const QString &imagePrefix)
{
    const QString l = imagePrefix + QStringLiteral("_left"), m = imagePrefix + QStringLiteral("_mid"),
                  r = imagePrefix + QStringLiteral("_right");
    button->setButtonsImages(l, m, r, l, m, r, l, m, r);
    button->setMakeBoldFont(true);
    button->setFontSizeForButton(14);
    button->setColorOnState(Qt::white);
    button->setColorOffState(Qt::white);
}

QColor ControlStyles::focusMarkColor()
{
    return QColor(120, 190, 255);
}

QColor ControlStyles::focusHaloColor()
{
    return QColor(6, 10, 22);
}

QColor ControlStyles::focusMarkColorOn(const QList<QColor> &faces)
{
    const auto leastContrast = [&faces](const QColor &line) {
        double least = 21.0;
        for (const QColor &face : faces)
            least = std::min(least, contrastRatio(line, face));
        return least;
    };
    const QColor lines[] = { focusMarkColor(), QColor(Qt::white), focusHaloColor() };
    for (const QColor &line : lines) {
        if (leastContrast(line) >= kLeastFocusContrast)
            return line;
    }
    return *std::max_element(std::begin(lines), std::end(lines),
        [&](const QColor &a, const QColor &b) { return leastContrast(a) < leastContrast(b); });
}

void ControlStyles::drawFocusMark(QPainter &painter, const QRect &rect, qreal lineWidth)
{
    drawFocusMark(painter, rect, lineWidth, focusMarkColor());
}

void ControlStyles::drawFocusMark(QPainter &painter, const QRect &rect, qreal lineWidth, const QColor &line)
{
    painter.save();
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const qreal half = lineWidth / 2;
    const QRectF outer = QRectF(rect).adjusted(half, half, -half, -half);
    painter.setPen(QPen(focusHaloColor(), lineWidth));
    painter.drawRoundedRect(outer, 2 * lineWidth, 2 * lineWidth);
    const qreal inset = 0.5 + half;
    painter.setPen(QPen(line, lineWidth));
    painter.drawRoundedRect(outer.adjusted(inset, inset, -inset, -inset), 1.5 * lineWidth, 1.5 * lineWidth);
    painter.restore();
}

double ControlStyles::contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &color) {
        const auto linear = [](double channel) {
            return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = color.toRgb();
        return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
