// The General pane: switches for single settings, reset to the defaults and clearing the cache.
#pragma once

#include "preferences/ui/PreferencePane.h"

class GeneralViewController : public PreferencePane
{
    Q_OBJECT
public:
    explicit GeneralViewController(QObject *parent = nullptr);

protected:
    void viewDidLoad() override;
};
