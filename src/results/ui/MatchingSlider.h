// A continuous slider over a real range (the matching level runs from about 0.85 to 0.9999); the
// value is clamped to the range as it is set, and the handle has fine steps.
#pragma once

#include <QSlider>

class MatchingSlider : public QSlider
{
    Q_OBJECT
public:
    explicit MatchingSlider(QWidget *parent = nullptr);

    void setMinValue(double value);
    void setMaxValue(double value);
    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }
    void setDoubleValue(double value);
    double doubleValue() const { return m_value; }

signals:
    // The user moved the handle.
    void doubleValueChanged(double value);

private:
    void showValue();

    static constexpr int kSteps = 10000;
    double m_min = 0.0;
    double m_max = 1.0;
    double m_value = 0.0;
    bool m_setting = false;
};
