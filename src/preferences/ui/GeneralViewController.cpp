#include "preferences/ui/GeneralViewController.h"

#include "app/LocalizedString.h"

GeneralViewController::GeneralViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("general")),
        localizedString(QStringLiteral("ID_GENERAL")), bundleIcon(QStringLiteral("General")), parent)
{
}

void GeneralViewController::viewDidLoad()
{
    view()->setMinimumSize(520, 230);
}
