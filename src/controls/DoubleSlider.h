// A slider whose value is a real number between a minimum and a maximum. By default the handle stops
// at the whole numbers of that range (the positions the option tables index); with fine steps it
// moves continuously (the results window's matching level, about 0.85 to 0.9999).
#pragma once

#include <vector>

#include <QSlider>

class DoubleSlider : public QSlider
{
    Q_OBJECT
public:
    static constexpr int kFineSteps = 10000;

    explicit DoubleSlider(QWidget *parent = nullptr);

    // 0: stops at whole numbers; otherwise the range is cut into `steps` equal steps.
    void setContinuousSteps(int steps);
    void setMinValue(double value);
    void setMaxValue(double value);
    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }

    // The values the arrow keys go between, one per press, instead of the fine steps; none: the
    // slider's own steps.
    void setKeyStops(std::vector<double> stops);
    // The stop after `value` (direction > 0) or before it (direction < 0) among the ascending
    // `stops`; `value` itself when there is none that way.
    static double nextStop(const std::vector<double> &stops, double value, int direction);

    // Clamped to the range (a value that is not finite gives the minimum); the handle shows the
    // nearest position.
    void setDoubleValue(double value);
    double doubleValue() const { return m_value; }

signals:
    // The user moved the handle.
    void doubleValueChanged(double value);

protected:
    // The slider's own drawing, framed by the focus mark while it has the focus.
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void updateRange();
    double valueAt(int position) const;
    int positionOf(double value) const;

    int m_steps = 0;
    double m_min = 0.0;
    double m_max = 1.0;
    double m_value = 0.0;
    std::vector<double> m_keyStops;
};
