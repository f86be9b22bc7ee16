// The current open panel and its selection rule.
#include "platform/ui/OpenPanel.h"

#include <QFileInfo>

#include "platform/ui/GuiOpenPanel.h"

namespace {

OpenPanel *g_installed = nullptr;

// Folders the desktop opens as one item.
const QStringList kPackageExtensions = {QStringLiteral("photoslibrary"), QStringLiteral("migratedphotolibrary"),
                                        QStringLiteral("photolibrary"), QStringLiteral("app"),
                                        QStringLiteral("bundle")};

} // namespace

OpenPanel::~OpenPanel() = default;

bool OpenPanel::isPackage(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && kPackageExtensions.contains(info.suffix().toLower());
}

bool OpenPanel::isSelectable(const OpenPanelOptions &options, const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const bool asFile = !info.isDir() || (isPackage(path) && !options.treatsFilePackagesAsDirectories);
    if (asFile) {
        if (!options.canChooseFiles)
            return false;
        if (!options.allowedFileTypes.isEmpty()
            && !options.allowedFileTypes.contains(info.suffix(), Qt::CaseInsensitive))
            return false;
    } else if (!options.canChooseDirectories) {
        return false;
    }
    return !options.shouldEnable || options.shouldEnable(info.absoluteFilePath());
}

OpenPanel &OpenPanel::current()
{
    if (g_installed)
        return *g_installed;
    static GuiOpenPanel gui;
    return gui;
}

void OpenPanel::setCurrent(OpenPanel *panel)
{
    g_installed = panel;
}

OpenPanel *OpenPanel::installed()
{
    return g_installed;
}
