// Image-drawn button.
#include "controls/IMGButton.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"
#include "controls/ThreePartImage.h"

namespace
{
constexpr int kSmallestSize = 5;
constexpr int kLargestSize = 50;
// Sizes up to this use the regular face while searching, larger ones the bold face.
constexpr int kLastRegularSearchSize = 18;

// The face the size search measures with. A bold title drawn at its cap must fit in the bold face,
// which runs wider than the regular one, or the capped title would overflow its margins.
QFont searchFont(int size, bool bold, int cap)
{
    if (bold && cap >= 1 && size >= cap)
        return ControlFonts::systemFont(size, QFont::DemiBold);
    return size <= kLastRegularSearchSize ? ControlFonts::lucidaGrande(size) : ControlFonts::helveticaBold(size);
}
} // namespace

IMGButton::IMGButton(QWidget *parent)
    : QAbstractButton(parent)
    , colorOnState(Qt::white)
    , colorOnStateDis(200, 200, 200)
    , colorOffState(Qt::white)
    , colorOffStateDis(200, 200, 200)
    , colorText(Qt::white)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

IMGButton::~IMGButton()
{
    qApp->removeEventFilter(this);
}

void IMGButton::setButtonImages(const QString &onSt, const QString &onMd, const QString &onEn,
    const QString &onDwnSt, const QString &onDwnMd, const QString &onDwnEn, const QString &onDisSt,
    const QString &onDisMd, const QString &onDisEn, const QString &offSt, const QString &offMd,
    const QString &offEn, const QString &offDwnSt, const QString &offDwnMd, const QString &offDwnEn,
    const QString &offDisSt, const QString &offDisMd, const QString &offDisEn)
{
    imgOnState_St = onSt, imgOnState_Md = onMd, imgOnState_En = onEn;
    imgOnStateDwn_St = onDwnSt, imgOnStateDwn_Md = onDwnMd, imgOnStateDwn_En = onDwnEn;
    imgOnStateDis_St = onDisSt, imgOnStateDis_Md = onDisMd, imgOnStateDis_En = onDisEn;
    imgOffState_St = offSt, imgOffState_Md = offMd, imgOffState_En = offEn;
    imgOffStateDwn_St = offDwnSt, imgOffStateDwn_Md = offDwnMd, imgOffStateDwn_En = offDwnEn;
    imgOffStateDis_St = offDisSt, imgOffStateDis_Md = offDisMd, imgOffStateDis_En = offDisEn;
    isMouseDown = false;
    update();
}

void IMGButton::setButtonsImages(const QString &st, const QString &md, const QString &en,
    const QString &dwnSt, const QString &dwnMd, const QString &dwnEn, const QString &disSt,
    const QString &disMd, const QString &disEn)
{
    setButtonImages(st, md, en, dwnSt, dwnMd, dwnEn, disSt, disMd, disEn, st, md, en, dwnSt, dwnMd, dwnEn,
        disSt, disMd, disEn);
}

void IMGButton::setState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    update();
}

QSize IMGButton::sizeHint() const
{
    return QSize(120, 32);
}

void IMGButton::chooseImagesAndColor()
{
    if (m_state == OffState) {
        colorText = isEnabled() ? colorOffState : colorOffStateDis;
        if (!isEnabled())
            m_patternNames = { imgOffStateDis_St, imgOffStateDis_Md, imgOffStateDis_En };
        else if (isMouseDown)
            m_patternNames = { imgOffStateDwn_St, imgOffStateDwn_Md, imgOffStateDwn_En };
        else
            m_patternNames = { imgOffState_St, imgOffState_Md, imgOffState_En };
    } else if (m_state == OnState) {
        colorText = isEnabled() ? colorOnState : colorOnStateDis;
        if (!isEnabled())
            m_patternNames = { imgOnStateDis_St, imgOnStateDis_Md, imgOnStateDis_En };
        else if (isMouseDown)
            m_patternNames = { imgOnStateDwn_St, imgOnStateDwn_Md, imgOnStateDwn_En };
        else
            m_patternNames = { imgOnState_St, imgOnState_Md, imgOnState_En };
    } else {
        // The mixed state keeps the colour and images of the previous drawing.
        return;
    }
    pattern_St = BundleImage::named(m_patternNames.value(0));
    pattern_Mdl = BundleImage::named(m_patternNames.value(1));
    pattern_En = BundleImage::named(m_patternNames.value(2));
}

QString IMGButton::splitInTwoLines(const QString &title, const QString &separator)
{
    const QStringList words = title.split(separator);
    if (words.size() < 2)
        return title;
    // Three words put one on the first line and two on the second.
    const qsizetype half = words.size() / 2;
    return words.mid(0, half).join(separator) + QLatin1Char('\n') + words.mid(half).join(separator);
}

QFont IMGButton::layoutFont(int fittedSize) const
{
    const int searchEnd = fittedSize + 1;
    const int cap = fontSizeForButton;
    if (makeBoldFont && searchEnd > cap)
        return ControlFonts::systemFont(cap, QFont::DemiBold);
    if (searchEnd > cap && cap >= 1)
        return ControlFonts::systemFont(cap);
    return ControlFonts::systemFont(fittedSize);
}

void IMGButton::getAttributesForRect(const QRectF &rect, bool multi)
{
    if (multi && !multiLineStr.isEmpty())
        mTitle = splitInTwoLines(mTitle, multiLineStr);
    const int top = multi ? marginTopML : marginTop;
    const int bottom = multi ? marginBottomML : marginBottom;
    const QRectF available(rect.x() + marginLeft, rect.y() + top, rect.width() - marginLeft - marginRight,
        rect.height() - top - bottom);
    // The largest size whose text fits both ways; when even the largest size fits, that size is
    // used (the search never leaves a layout without a measurement).
    int fitted = kLargestSize;
    for (int s = kSmallestSize; s <= kLargestSize; ++s) {
        const QFont probe = searchFont(s, makeBoldFont, fontSizeForButton);
        const QSizeF measured = QFontMetricsF(probe).size(0, mTitle);
        if (measured.width() > available.width() || measured.height() > available.height()) {
            fitted = s - 1;
            break;
        }
    }
    Layout &layout = multi ? layoutM : layoutNoM;
    layout.font = layoutFont(fitted);
    layout.size = QFontMetricsF(layout.font).size(0, mTitle);
    layout.rect = available.translated(0, (available.height() - layout.size.height()) / 2);
    layout.valid = true;
}

void IMGButton::drawTitle(
    QPainter &painter, const QString &title, const Layout &layout, bool multi, bool followPress)
{
    rectText = layout.rect;
    if (followPress && isMouseDown)
        rectText.translate(1, 1);
    painter.setFont(layout.font);
    painter.setPen(colorText);
    painter.drawText(rectText, Qt::AlignHCenter | Qt::AlignTop | (multi ? Qt::TextWordWrap : 0), title);
    m_drewTwoLines = multi;
    m_drawnTitle = title;
    m_drawnFont = layout.font;
}

void IMGButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFace(painter);
    if (hasFocus())
        ControlStyles::drawFocusMark(painter, rect(), 2, ControlStyles::focusMarkColorOn(faceColors()));
}

QList<QColor> IMGButton::faceColors() const
{
    // The middle image lies under most of the mark: its colours from top to bottom are the face's.
    // Where it is see-through, the window shows, and the mark's own dark line stands out there.
    const QImage column = pattern_Mdl.pixmap(QSize(1, std::max(1, height()))).toImage();
    QList<QColor> colors;
    for (int y = 0; y < column.height(); ++y) {
        const QColor color = column.pixelColor(0, y);
        if (color.alpha() >= 128)
            colors.append(color);
    }
    return colors;
}

void IMGButton::paintFace(QPainter &painter)
{
    painter.setOpacity(m_alpha);
    mTitle = text();
    oTitle = text();
    chooseImagesAndColor();
    const QRectF bounds = rect();
    ThreePartImage::draw(
        painter, bounds, pattern_St, pattern_Mdl, pattern_En, ThreePartImage::Orientation::Horizontal);
    rectText = bounds;
    // Fitting measures the title at every size; hover and press repaint far more often than the
    // title, size or margins change, so the layouts are kept until one of those does.
    const LayoutInputs inputs{oTitle, bounds.size(), multiLineStr, fontSizeForButton, makeBoldFont,
        {marginLeft, marginRight, marginTop, marginBottom, marginTopML, marginBottomML}};
    const bool kept = layoutNoM.valid && inputs == m_layoutInputs;
    if (!kept) {
        m_layoutInputs = inputs;
        layoutM.valid = false;
        getAttributesForRect(bounds, false);
    }
    const bool separated = oTitle.split(multiLineStr).size() >= 2;
    const bool broken = oTitle.split(QLatin1Char('\n')).size() >= 2;
    // A title that cannot be split stays on one line and, unlike the others, does not follow the press.
    if (multiLineStr.isEmpty() ? !broken : (!separated && !broken)) {
        drawTitle(painter, oTitle, layoutNoM, false, false);
        return;
    }
    if (!kept || !layoutM.valid)
        getAttributesForRect(bounds, true);
    else if (!multiLineStr.isEmpty())
        mTitle = splitInTwoLines(mTitle, multiLineStr);
    // One line wins when it is drawn at least as large as the two lines would be (a capped title that
    // fits on one line never wraps), otherwise by the larger area; equal areas draw one line.
    const bool oneLineAsLarge = layoutNoM.font.pixelSize() >= layoutM.font.pixelSize()
        && layoutNoM.font.weight() >= layoutM.font.weight();
    if (oneLineAsLarge
        || layoutM.size.width() * layoutM.size.height() <= layoutNoM.size.width() * layoutNoM.size.height())
        drawTitle(painter, oTitle, layoutNoM, false, true);
    else
        drawTitle(painter, mTitle, layoutM, true, true);
}

void IMGButton::setHoverAlpha(qreal alpha)
{
    // A disabled button does not react to the mouse passing over it.
    if (!isEnabled())
        return;
    m_alpha = alpha;
    update();
}

void IMGButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    setHoverAlpha(0.8);
}

void IMGButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    setHoverAlpha(1.0);
}

void IMGButton::mousePressEvent(QMouseEvent *event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    isMouseDown = true;
    // The press disables the button until release. A disabled widget gets no mouse events, so the
    // release is caught by an application filter.
    qApp->installEventFilter(this);
    setEnabled(false);
    update();
    event->accept();
}

void IMGButton::mouseReleaseEvent(QMouseEvent *event)
{
    mouseUp(event->globalPosition());
}

bool IMGButton::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && isMouseDown) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            mouseUp(mouse->globalPosition());
            return watched == this;
        }
    }
    return QAbstractButton::eventFilter(watched, event);
}

void IMGButton::mouseUp(const QPointF &globalPos)
{
    if (!isMouseDown)
        return;
    isMouseDown = false;
    qApp->removeEventFilter(this);
    const QPointF point = mapFromGlobal(globalPos);
    update();
    const bool inside = point.x() >= 0 && point.x() <= width() && point.y() >= 0 && point.y() <= height();
    if (!inside) {
        setEnabled(true);
        return;
    }
    emit clicked(false);
    setState(m_state == OffState ? OnState : OffState);
    if (enableImmediately)
        setEnabled(true);
    update();
}
