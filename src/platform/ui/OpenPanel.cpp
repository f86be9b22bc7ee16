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
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const bool asFile
        = !info.isDir() || (FileFacts::isPackage(path) && !options.treatsFilePackagesAsDirectories);
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
