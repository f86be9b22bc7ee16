#include "preferences/ui/AutoMarkViewController.h"

#include "app/LocalizedString.h"

AutoMarkViewController::AutoMarkViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("automark")),
        localizedString(QStringLiteral("ID_AUTO_MARK")), bundleIcon(QStringLiteral("AutoMark")), parent)
{
}

void AutoMarkViewController::viewDidLoad()
{
    setPreferredSize(QSize(620, 330));
}
