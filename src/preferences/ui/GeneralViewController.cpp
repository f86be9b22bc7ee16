#include "preferences/ui/GeneralViewController.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "controls/CommonFuncUi.h"
#include "controls/SettingsBinding.h"
#include "platform/SystemFonts.h"
#include "platform/UserDefaults.h"
#include "preferences/GeneralSettings.h"

namespace
{

constexpr int kClearCacheExtraWidth = 40;

} // namespace

GeneralViewController::GeneralViewController(QObject *parent)
    : PreferencePane(Preferences::PaneIdentifier(QStringLiteral("general")),
        localizedString(QStringLiteral("ID_GENERAL")), bundleIcon(QStringLiteral("General")), parent)
{
}

void GeneralViewController::viewDidLoad()
{
    QWidget *pane = view();
    setPreferredSize(QSize(kViewWidth, kViewHeight));
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(30, 24, 20, 18);
    layout->setSpacing(8);
    const struct {
        QPointer<QCheckBox> &checkBox;
        const char *titleKey;
        const char *settingsKey;
    } rows[] = {
        { btnCheckScanVideoInExactScan, "ID_SCAN_VIDEOS_IN_EXACT_MATCH", "allowVideoScanning" },
        { btnCheckShowDeleteDialog, "ID_DONT_SHOW_CONFIRMATION_TO_DELETE",
            "doNotShowConfirmationDialogOnTrash" },
        { btnCheckShowDialogOnMovingBack, "ID_DONT_SHOW_CONFIRMATION_ON_MOVING_BACK",
            "doNotShowConfirmationDialogOnReturnToMainView" },
        { btnCheckShowAutoMarkDialog, "ID_DONT_SHOW_AUTOMARK", "doNotShowAutoMarkDialog" },
        { btnCheckScanPhotosLibrary, "ID_SCAN_PHOTO_LIBRARY", "includePhotosLibInFolder" },
    };
    for (const auto &row : rows) {
        row.checkBox = new QCheckBox(localizedString(QString::fromLatin1(row.titleKey)));
        row.checkBox->setObjectName(QString::fromLatin1(row.settingsKey));
        SettingsBinding::bindCheckBox(row.checkBox, QString::fromLatin1(row.settingsKey));
        layout->addWidget(row.checkBox);
    }
    layout->addStretch(1);
    btnClearCache = new QPushButton(localizedString(QStringLiteral("ID_CLEAR_CACHE")));
    btnResetDefault = new QPushButton(localizedString(QStringLiteral("ID_RESET_DEFAULTS")));
    btnClearCache->setFixedWidth(
        static_cast<int>(CommonFuncUi::fittingWidth(btnClearCache.data())) + kClearCacheExtraWidth);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    buttons->addStretch(1);
    buttons->addWidget(btnClearCache);
    buttons->addWidget(btnResetDefault);
    layout->addLayout(buttons);
    connect(btnResetDefault, &QPushButton::clicked, this, [this] { btnResetDefaultTapped(); });
    connect(btnClearCache, &QPushButton::clicked, this, [this] { btnClearCacheTapped(); });
    layoutActionButtons();
    adjustLayoutForLanguage(Localization::currentLanguageCode());
}

void GeneralViewController::layoutActionButtons()
{
    // The reset button ends 20 from the right edge (the layout's margin) and clear-cache stands
    // directly left of it, however wide the translations make them.
    btnResetDefault->setFixedWidth(static_cast<int>(CommonFuncUi::fittingWidth(btnResetDefault.data())) + 50);
}

void GeneralViewController::adjustLayoutForLanguage(const QString &languageCode)
{
    // Longer translations of "Clear Cache" grow the button to the left, away from its neighbour.
    const int grow = languageCode == QLatin1String("sv") ? 5 : languageCode == QLatin1String("fi") ? 10 : 0;
    if (grow)
        btnClearCache->setFixedWidth(btnClearCache->width() + grow);
    if (languageCode == QLatin1String("it"))
        btnCheckScanPhotosLibrary->setFont(SystemFonts::systemFont(12));
}

void GeneralViewController::btnResetDefaultTapped()
{
    GeneralSettings::resetDefaults(UserDefaults::standard());
}

void GeneralViewController::btnClearCacheTapped()
{
    GeneralSettings::clearCache(ScanGlobals::scanType.load());
}
