// The current open panel and its selection rule.
#include "platform/ui/OpenPanel.h"

#include <QFileInfo>

#include "platform/FileFacts.h"
#include "platform/ui/GuiOpenPanel.h"
#include "platform/ui/InstalledService.h"

namespace
{

using Slot = InstalledService<OpenPanel, GuiOpenPanel>;

} // namespace

OpenPanel::~OpenPanel() = default;

bool OpenPanel::isSelectable(const OpenPanelOptions &options, const QString &path)
{
    return isSelectable(options, QFileInfo(path));
}

bool OpenPanel::isSelectable(const OpenPanelOptions &options, const QFileInfo &info)
{
    if (!info.exists())
        return false;
    const bool package = info.isDir() && FileFacts::hasPackageSuffix(info.filePath());
    const bool asFile = !info.isDir() || (package && !options.treatsFilePackagesAsDirectories);
    if (asFile) {
        if (!options.canChooseFiles)
            return false;
        if (!options.allowedFileTypes.isEmpty()
            && !options.allowedFileTypes.contains(info.suffix(), Qt::CaseInsensitive))
            return false;
    } else if (!options.canChooseDirectories) {
        return false;
    }
    return !options.shouldEnable || options.shouldEnable(info);
}

OpenPanel &OpenPanel::current()
{
    return Slot::current();
}

void OpenPanel::setCurrent(OpenPanel *panel)
{
    Slot::setCurrent(panel);
}

OpenPanel *OpenPanel::installed()
{
    return Slot::installed();
}
