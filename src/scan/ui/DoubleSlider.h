// A slider whose value is a real number between a minimum and a maximum; the handle stops at the
// whole numbers of that range (the positions the option tables index).
#pragma once

#include <QSlider>

class DoubleSlider : public QSlider
{
    Q_OBJECT
public:
    explicit DoubleSlider(QWidget *parent = nullptr);

    void setMinValue(double value);
    void setMaxValue(double value);
    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }

    // Clamped to the range; the handle shows the nearest whole position.
    void setDoubleValue(double value);
    double doubleValue() const { return m_value; }

signals:
    // The user moved the handle.
    void doubleValueChanged(double value);

private:
    void updateRange();

    double m_min = 0.0;
    double m_max = 1.0;
    double m_value = 0.0;
};
