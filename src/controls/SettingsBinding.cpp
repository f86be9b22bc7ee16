#include "controls/SettingsBinding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "controls/DoubleSlider.h"
#include "controls/Stepper.h"
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

namespace
{

// Calls `show` now and whenever `key` changes, on the control's thread while the control lives.
template <typename Control, typename Show> void follow(Control *control, const QString &key, Show show)
{
    show();
    QObject::connect(
        &UserDefaults::standard(), &UserDefaults::valueChanged, control, [key, show](const QString &changed) {
            if (changed == key)
                show();
        });
}

} // namespace

void SettingsBinding::bindWholeNumberField(QLineEdit *field, const QString &key)
{
    const auto show
        = [field, key] { field->setText(QString::number(UserDefaults::standard().integerForKey(key))); };
    follow(field, key, show);
    QObject::connect(field, &QLineEdit::editingFinished, field, [field, key, show] {
        bool isWholeNumber = false;
        const qlonglong value = field->text().trimmed().toLongLong(&isWholeNumber);
        if (isWholeNumber && value >= 0 && value != UserDefaults::standard().integerForKey(key))
            UserDefaults::standard().setObject(key, value);
        else
            show();
    });
}

void SettingsBinding::bindStepper(Stepper *stepper, const QString &key)
{
    stepper->setRange(0, std::numeric_limits<qlonglong>::max());
    follow(stepper, key, [stepper, key] { stepper->setValue(UserDefaults::standard().integerForKey(key)); });
    QObject::connect(stepper, &Stepper::valueChanged, stepper,
        [key](qlonglong value) { UserDefaults::standard().setObject(key, value); });
}

void SettingsBinding::bindPopUp(QComboBox *popUp, const QString &key)
{
    follow(popUp, key, [popUp, key] {
        popUp->setCurrentIndex(static_cast<int>(UserDefaults::standard().integerForKey(key)));
    });
    QObject::connect(popUp, &QComboBox::activated, popUp,
        [key](int index) { UserDefaults::standard().setObject(key, qlonglong(index)); });
}
