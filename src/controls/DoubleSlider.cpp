#include "controls/DoubleSlider.h"

#include <algorithm>
#include <cmath>

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
