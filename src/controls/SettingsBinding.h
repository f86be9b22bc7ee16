// Keeps a control and a settings key in step: the control shows the stored value when bound and
// whenever the key changes, and stores what the user sets.
#pragma once

#include <QString>

class DoubleSlider;
class QAbstractButton;

class SettingsBinding
{
public:
    // The slider's value is the stored number (a real number once the user moved it).
    static void bindSlider(DoubleSlider *slider, const QString &key);
    // The check box is on when the stored value reads as true.
    static void bindCheckBox(QAbstractButton *checkBox, const QString &key);
};
