#include "controls/Stepper.h"

#include <QVBoxLayout>

Stepper::Stepper(QWidget *parent)
    : QWidget(parent)
    , m_up(new QToolButton)
    , m_down(new QToolButton)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : { m_up.data(), m_down.data() }) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
}

void Stepper::setValue(qlonglong value)
{
    m_value = std::clamp(value, m_minimum, m_maximum);
}

void Stepper::setRange(qlonglong minimum, qlonglong maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    setValue(m_value);
}

void Stepper::step(int direction)
{
    if ((direction > 0 && m_value >= m_maximum) || (direction < 0 && m_value <= m_minimum))
        return;
    m_value += direction;
    emit valueChanged(m_value);
}
