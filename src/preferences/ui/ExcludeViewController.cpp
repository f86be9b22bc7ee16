#include "preferences/ui/ExcludeViewController.h"

#include "app/LocalizedString.h"

ExcludeViewController::ExcludeViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("exclude")),
        localizedString(QStringLiteral("ID_EXCLUSIONS")), bundleIcon(QStringLiteral("Exclusions")), parent)
{
}

void ExcludeViewController::viewDidLoad()
{
    view()->setMinimumSize(520, 330);
}
