// The auto-mark rules pane: which rules decide the copies to mark, and in which order.
#pragma once

#include "preferences/ui/PreferencePane.h"

class AutoMarkViewController : public PreferencePane
{
    Q_OBJECT
public:
    explicit AutoMarkViewController(QObject *parent = nullptr);

protected:
    void viewDidLoad() override;
};
