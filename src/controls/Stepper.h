// A pair of small arrow buttons that step a whole number up or down, beside a field that shows it.
#pragma once

#include <limits>

#include <QPointer>
#include <QToolButton>
#include <QWidget>

class Stepper : public QWidget
{
    Q_OBJECT
public:
    explicit Stepper(QWidget *parent = nullptr);

    qlonglong value() const { return m_value; }
    // Shows `value` (kept within the range) without announcing it.
    void setValue(qlonglong value);
    void setRange(qlonglong minimum, qlonglong maximum);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    // The user stepped; not emitted by setValue().
    void valueChanged(qlonglong value);

private:
    void step(int direction);

    QPointer<QToolButton> m_up;
    QPointer<QToolButton> m_down;
    qlonglong m_value = 0;
    qlonglong m_minimum = 0;
    qlonglong m_maximum = std::numeric_limits<qlonglong>::max();
};
