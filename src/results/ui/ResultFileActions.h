// The three file commands of the results window's context menu: open with the default application,
// show in the file manager, and Quick Look (the application's own preview window). Each acts on
// the record the listing names: the clicked list row, or the grid's last selected item.
#pragma once

#include <functional>
#include <memory>

#include <QUrl>

class ImageFileInfo;

class ResultFileActions
{
public:
    // Where the record comes from; null means the command does nothing.
    std::function<std::shared_ptr<ImageFileInfo>()> chosenRecord;

    void openFile() const;
    void revealInFinder() const;
    void quickLook() const;

    // Replaceable for tests; the defaults hand the address to the desktop.
    std::function<void(const QUrl &)> openUrl = defaultOpenUrl;
    std::function<void(const QUrl &)> revealUrl = defaultRevealUrl;

    // The results window's Quick Look request; the window's owner shows the preview.
    std::function<void(const QUrl &)> quickLookUrl;

    static void defaultOpenUrl(const QUrl &url);
    // Asks the file manager (freedesktop FileManager1 over D-Bus) to show the file selected; when
    // no file manager answers, opens the folder that holds it.
    static void defaultRevealUrl(const QUrl &url);
};
