// The open panel: the user picks files or folders. Window code asks OpenPanel::current(); the
// program uses GuiOpenPanel, tests install a ScriptedOpenPanel.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

class QFileInfo;
class QWidget;

struct OpenPanelOptions {
    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;
    // Package folders (photo libraries, bundles) open like folders instead of being chosen whole.
    bool treatsFilePackagesAsDirectories = false;
    // Extensions without the dot, compared without regard to case; empty allows every file.
    QStringList allowedFileTypes;
    // Title of the confirming button; empty keeps the panel's own. The panel's window is titled by
    // `message`, or else by the prompt.
    QString prompt;
    QString message;
    // Name of the allowedFileTypes in the panel's file-type filter; empty offers no named filter.
    QString fileTypesName;
    // Folder shown first; empty for the home folder.
    QString directory;
    // Decides per entry whether it can be chosen (also asked for folders, which cannot be entered
    // when refused). Empty accepts everything the options above allow. The entry is the look the
    // panel's list already took: the rule reads it and looks at the disk no more, since the list
    // asks on the GUI thread, and the entry may lie on a share that has stopped answering.
    std::function<bool(const QFileInfo &entry)> shouldEnable;
};

class OpenPanel
{
public:
    enum Response { Cancel = 0, OK = 1 };
    using Completion = std::function<void(int response, const QStringList &paths)>;

    virtual ~OpenPanel();

    // Shows the panel window-modally over the window of `parent` and calls `completion` once, on
    // the GUI thread, with the response and the chosen absolute paths (empty on Cancel).
    virtual void beginSheet(const OpenPanelOptions &options, QWidget *parent, Completion completion) = 0;

    // Whether `path` passes the options (file or folder kind, extension, filter callback): the
    // one rule both the panel's list and the final choice apply.
    static bool isSelectable(const OpenPanelOptions &options, const QString &path);
    // The same rule read from a look already taken (the panel's list passes the file system
    // model's), touching the disk no further once that look holds the entry's kind.
    static bool isSelectable(const OpenPanelOptions &options, const QFileInfo &entry);
    // Package folders (FileFacts::isPackage) are chosen whole unless treatsFilePackagesAsDirectories
    // is set.

    static OpenPanel &current();
    // Installs `panel` (not owned); null restores the GUI panel.
    static void setCurrent(OpenPanel *panel);
    static OpenPanel *installed();
};
