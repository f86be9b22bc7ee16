#include "preferences/ui/GeneralViewController.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "controls/CommonFuncUi.h"
#include "controls/SettingsBinding.h"
#include "platform/SystemFonts.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "preferences/GeneralSettings.h"
#include "preferences/ui/PaneContainer.h"

namespace
{

constexpr int kClearCacheExtraWidth = 40;
constexpr int kButtonGap = 8;
// The container pads 20 above its sections; the pane's switches start 24 from the top.
constexpr int kViewTopMargin = 4;
constexpr int kViewBottomMargin = 18;
constexpr int kViewRightMargin = 20;

} // namespace

GeneralViewController::GeneralViewController(QObject *parent)
    : PaneHostingController(makePane(this), parent)
{
}

Preferences::Pane GeneralViewController::makePane(GeneralViewController *pane)
{
    return Preferences::Pane(Preferences::PaneIdentifier(QStringLiteral("general")),
        localizedString(QStringLiteral("ID_GENERAL")), bundleIcon(QStringLiteral("General")),
        [pane] { return pane->makeContentView(); });
}

QWidget *GeneralViewController::makeContentView()
{
    setPreferredSize(QSize(kViewWidth, kViewHeight));
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    // The container's own padding puts the switches 24 below the top and 30 from the left.
    layout->setContentsMargins(0, kViewTopMargin, 0, kViewBottomMargin);
    layout->setSpacing(0);
    layout->addWidget(new PaneContainer({ PaneSection { nullptr, makeSwitches() } }, kViewWidth - 60));
    layout->addStretch(1);
    btnClearCache = new QPushButton(localizedString(QStringLiteral("ID_CLEAR_CACHE")));
    btnResetDefault = new QPushButton(localizedString(QStringLiteral("ID_RESET_DEFAULTS")));
    btnClearCache->setFixedWidth(
        static_cast<int>(CommonFuncUi::fittingWidth(btnClearCache.data())) + kClearCacheExtraWidth);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, kViewRightMargin, 0);
    // Buttons drawn here have no bezel margin of their own to keep them apart.
    buttons->setSpacing(kButtonGap);
    buttons->addStretch(1);
    buttons->addWidget(btnClearCache);
    buttons->addWidget(btnResetDefault);
    layout->addLayout(buttons);
    connect(btnResetDefault, &QPushButton::clicked, this, [this] { btnResetDefaultTapped(); });
    connect(btnClearCache, &QPushButton::clicked, this, [this] { btnClearCacheTapped(); });
    layoutActionButtons();
    adjustLayoutForLanguage(Localization::currentLanguageCode());
    return content;
}

QWidget *GeneralViewController::makeSwitches()
{
    auto *switches = new QWidget;
    auto *layout = new QVBoxLayout(switches);
    layout->setContentsMargins(0, 0, 0, 0);
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
    return switches;
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
    const ScanSource source = ScanGlobals::scanType.load();
    const ClearCacheReport report = GeneralSettings::clearCacheReport(source, GeneralSettings::clearCache(source));
    AlertSpec alert;
    alert.style = report.cleared ? AlertSpec::Style::Informational : AlertSpec::Style::Warning;
    alert.messageText = report.message;
    alert.informativeText = report.informative;
    alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
    AlertPresenter::current().runAlert(alert, view());
}
