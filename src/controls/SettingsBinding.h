// Keeps a control and a settings key in step: the control shows the stored value when bound and
// whenever the key changes, and stores what the user sets.
#pragma once

#include <QString>

class DoubleSlider;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class Stepper;

class SettingsBinding
{
public:
    // The slider's value is the stored number (a real number once the user moved it).
    static void bindSlider(DoubleSlider *slider, const QString &key);
    // The check box is on when the stored value reads as true.
    static void bindCheckBox(QAbstractButton *checkBox, const QString &key);
    // The field shows the stored whole number; a finished edit stores a whole number from 0 up,
    // anything else puts the stored number back in the field.
    static void bindWholeNumberField(QLineEdit *field, const QString &key);
    // The stepper steps the stored whole number, never below 0.
    static void bindStepper(Stepper *stepper, const QString &key);
    // The pop-up's selected index is the stored number.
    static void bindPopUp(QComboBox *popUp, const QString &key);
};
