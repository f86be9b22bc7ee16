// Three-part image box.
#include "controls/GradientBox.h"

#include <QPainter>

#include "controls/ThreePartImage.h"

GradientBox::GradientBox(QWidget *parent)
    : QWidget(parent)
{
}

void GradientBox::setBackgroundImage(const std::optional<QString> &name)
{
    setBackgroundImages(name, name, name);
}

void GradientBox::setBackgroundImages(const std::optional<QString> &start,
    const std::optional<QString> &middle, const std::optional<QString> &end)
{
    m_bgImage_St = start.value_or(QString());
    m_bgImage = middle.value_or(QString());
    m_bgImage_En = end.value_or(QString());
}

void GradientBox::setRepeatingBackgroundImage(const std::optional<QString> &name)
{
    m_isRepeatVertically = true;
    setBackgroundImage(name);
}

void GradientBox::paintEvent(QPaintEvent *)
{
    if (!drawsImages())
        return;
    QPainter painter(this);
    ThreePartImage::draw(painter, rect(), BundleImage::named(*m_bgImage_St), BundleImage::named(*m_bgImage),
        BundleImage::named(*m_bgImage_En),
        m_isRepeatVertically ? ThreePartImage::Orientation::Vertical
                             : ThreePartImage::Orientation::Horizontal);
}
