// The file-type filter pane: the types a scan takes and the smallest file it looks at.
#pragma once

#include "preferences/ui/PreferencePane.h"

class FilterViewController : public PreferencePane
{
    Q_OBJECT
public:
    explicit FilterViewController(QObject *parent = nullptr);

protected:
    void viewDidLoad() override;
};
