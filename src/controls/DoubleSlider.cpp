#include "controls/DoubleSlider.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QPainter>

#include "controls/ControlStyles.h"

DoubleSlider::DoubleSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    setPageStep(1);
    connect(this, &QSlider::valueChanged, this, [this](int position) {
        m_value = std::clamp(valueAt(position), m_min, std::max(m_min, m_max));
        emit doubleValueChanged(m_value);
    });
}

void DoubleSlider::setContinuousSteps(int steps)
{
    m_steps = std::max(0, steps);
    if (m_steps > 0) {
        setTickPosition(QSlider::NoTicks);
        setPageStep(std::max(1, m_steps / 10));
    }
    updateRange();
}

void DoubleSlider::setMinValue(double value)
{
    m_min = value;
    updateRange();
}

void DoubleSlider::setMaxValue(double value)
{
    m_max = value;
    updateRange();
}

void DoubleSlider::updateRange()
{
    if (m_steps > 0)
        setRange(0, m_steps);
    else
        setRange(int(std::ceil(m_min)), int(std::floor(m_max)));
    setDoubleValue(m_value);
}

double DoubleSlider::valueAt(int position) const
{
    if (m_steps == 0)
        return double(position);
    return m_min + (m_max - m_min) * position / m_steps;
}

int DoubleSlider::positionOf(double value) const
{
    if (m_steps == 0)
        return int(std::lround(value));
    const double span = m_max - m_min;
    return span > 0 ? int((value - m_min) / span * m_steps + 0.5) : 0;
}

void DoubleSlider::setDoubleValue(double value)
{
    m_value = std::isfinite(value) ? std::clamp(value, m_min, std::max(m_min, m_max)) : m_min;
    const QSignalBlocker quiet(this);
    setValue(positionOf(m_value));
}

void DoubleSlider::paintEvent(QPaintEvent *event)
{
    QSlider::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    ControlStyles::drawFocusMark(painter, rect());
}

void DoubleSlider::setKeyStops(std::vector<double> stops)
{
    std::sort(stops.begin(), stops.end());
    m_keyStops = std::move(stops);
}

double DoubleSlider::nextStop(const std::vector<double> &stops, double value, int direction)
{
    // A value a rounding away from a stop stands at that stop.
    constexpr double kSame = 1e-9;
    if (direction > 0) {
        const auto it
            = std::find_if(stops.begin(), stops.end(), [value](double stop) { return stop > value + kSame; });
        return it == stops.end() ? value : *it;
    }
    const auto it
        = std::find_if(stops.rbegin(), stops.rend(), [value](double stop) { return stop < value - kSame; });
    return it == stops.rend() ? value : *it;
}

void DoubleSlider::keyPressEvent(QKeyEvent *event)
{
    int direction = 0;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        direction = 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        direction = -1;
        break;
    default:
        break;
    }
    if (m_keyStops.empty() || direction == 0 || event->modifiers() != Qt::NoModifier) {
        QSlider::keyPressEvent(event);
        return;
    }
    event->accept();
    const double next = nextStop(m_keyStops, m_value, invertedControls() ? -direction : direction);
    if (next == m_value)
        return;
    setDoubleValue(next);
    emit doubleValueChanged(m_value);
}
