#include "controls/SettingsBinding.h"

#include <QAbstractButton>

#include "controls/DoubleSlider.h"
#include "platform/UserDefaults.h"

void SettingsBinding::bindSlider(DoubleSlider *slider, const QString &key)
{
    UserDefaults &defaults = UserDefaults::standard();
    slider->setDoubleValue(defaults.doubleForKey(key));
    QObject::connect(slider, &DoubleSlider::doubleValueChanged, slider,
        [key](double value) { UserDefaults::standard().setObject(key, value); });
    QObject::connect(&defaults, &UserDefaults::valueChanged, slider, [slider, key](const QString &changed) {
        if (changed == key)
            slider->setDoubleValue(UserDefaults::standard().doubleForKey(key));
    });
}

void SettingsBinding::bindCheckBox(QAbstractButton *checkBox, const QString &key)
{
    UserDefaults &defaults = UserDefaults::standard();
    checkBox->setChecked(defaults.boolForKey(key));
    QObject::connect(checkBox, &QAbstractButton::clicked, checkBox,
        [key](bool checked) { UserDefaults::standard().setObject(key, checked); });
    QObject::connect(
        &defaults, &UserDefaults::valueChanged, checkBox, [checkBox, key](const QString &changed) {
            if (changed == key)
                checkBox->setChecked(UserDefaults::standard().boolForKey(key));
        });
}
