// The Exclusions pane: the folders every scan leaves out.
#pragma once

#include "preferences/ui/PreferencePane.h"

class ExcludeViewController : public PreferencePane
{
    Q_OBJECT
public:
    explicit ExcludeViewController(QObject *parent = nullptr);

protected:
    void viewDidLoad() override;
};
