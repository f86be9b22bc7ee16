// Progress ring.
#include "controls/CircularProgressBarView.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

QColor colorFromHex(const QString &hex)
{
    qsizetype first = 0;
    qsizetype last = hex.size();
    while (first < last && !hex.at(first).isLetterOrNumber())
        ++first;
    while (last > first && !hex.at(last - 1).isLetterOrNumber())
        --last;
    QStringView digits = QStringView(hex).mid(first, last - first);
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    // The leading hexadecimal digits, as a scanner reads them; too many digits saturate.
    quint64 value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.toLower().unicode();
        const int digit = (u >= u'0' && u <= u'9') ? u - u'0' : (u >= u'a' && u <= u'f') ? u - u'a' + 10 : -1;
        if (digit < 0)
            break;
        if (value >> 60) {
            value = ~quint64(0);
            break;
        }
        value = (value << 4) | static_cast<quint64>(digit);
    }
    const auto v = static_cast<quint32>(value);
    return QColor((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
}

CircularProgressBarView::CircularProgressBarView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

QPointF CircularProgressBarView::ringCenter() const
{
    return QRectF(rect()).center();
}

double CircularProgressBarView::ringRadius() const
{
    return std::min(width(), height()) / 3.0;
}

double CircularProgressBarView::arcSpanDegrees(double progress)
{
    if (!(progress > 0.0))
        return 0.0;
    return -360.0 * std::min(progress, 1.0);
}

void CircularProgressBarView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const QPointF centre = ringCenter();
    const double r = ringRadius();
    const auto circle = [&](double radius, double width, const QColor &color) {
        painter.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawEllipse(centre, radius, radius);
    };
    const QColor track(0x2a, 0x34, 0x4b);
    circle(r + 15, 5, track);
    circle(r - 5, 5, track);
    const double span = arcSpanDegrees(progress);
    if (span == 0.0)
        return;
    const double radius = r + 5;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Qt's arc angles, like the platform's, count counter-clockwise as seen on screen, so the
    // clockwise arc is a negative span.
    QPainterPath arc;
    arc.arcMoveTo(box, 0);
    arc.arcTo(box, 0, span);
    painter.setPen(QPen(QColor(0x0c, 0x7e, 0xeb), 10, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(arc);
}
