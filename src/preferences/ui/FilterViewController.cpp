#include "preferences/ui/FilterViewController.h"

#include "app/LocalizedString.h"

FilterViewController::FilterViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("filter")),
        localizedString(QStringLiteral("ID_FILTER_SORT")), bundleIcon(QStringLiteral("filters")), parent)
{
}

void FilterViewController::viewDidLoad()
{
    setPreferredSize(QSize(520, 400));
}
