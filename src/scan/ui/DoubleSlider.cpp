#include "scan/ui/DoubleSlider.h"

#include <algorithm>
#include <cmath>

DoubleSlider::DoubleSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    setPageStep(1);
    connect(this, &QSlider::valueChanged, this, [this](int position) {
        m_value = std::clamp(double(position), m_min, std::max(m_min, m_max));
        emit doubleValueChanged(m_value);
    });
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
    setRange(int(std::ceil(m_min)), int(std::floor(m_max)));
    setDoubleValue(m_value);
}

void DoubleSlider::setDoubleValue(double value)
{
    m_value = std::isfinite(value) ? std::clamp(value, m_min, std::max(m_min, m_max)) : m_min;
    const QSignalBlocker quiet(this);
    setValue(int(std::lround(m_value)));
}
