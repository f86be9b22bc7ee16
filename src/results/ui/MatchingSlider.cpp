// Continuous matching slider.
#include "results/ui/MatchingSlider.h"

#include "results/MatchingLevel.h"

MatchingSlider::MatchingSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, kSteps);
    connect(this, &QSlider::valueChanged, this, [this](int position) {
        if (m_setting)
            return;
        m_value = m_min + (m_max - m_min) * position / kSteps;
        emit doubleValueChanged(m_value);
    });
}

void MatchingSlider::setMinValue(double value)
{
    m_min = value;
    m_max = std::max(m_max, m_min);
    setDoubleValue(m_value);
}

void MatchingSlider::setMaxValue(double value)
{
    m_max = value;
    m_min = std::min(m_min, m_max);
    setDoubleValue(m_value);
}

void MatchingSlider::setDoubleValue(double value)
{
    m_value = MatchingLevel::clamp(value, m_min, m_max);
    showValue();
}

void MatchingSlider::showValue()
{
    m_setting = true;
    const double span = m_max - m_min;
    setValue(span > 0 ? int((m_value - m_min) / span * kSteps + 0.5) : 0);
    m_setting = false;
}
