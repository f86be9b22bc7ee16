#include "preferences/ui/PreferenceDescription.h"

#include <QPalette>
#include <QWidget>

#include "platform/SystemFonts.h"

void PreferenceDescription::apply(QWidget *description)
{
    description->setFont(SystemFonts::systemFont(kPixelSize));
    QPalette palette = description->palette();
    const QColor secondary = palette.color(QPalette::PlaceholderText);
    palette.setColor(QPalette::WindowText, secondary);
    palette.setColor(QPalette::Text, secondary);
    description->setPalette(palette);
}
