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
    ResultFileActions() = default;
    // The default actions refer to this object.
    ResultFileActions(const ResultFileActions &) = delete;
    ResultFileActions &operator=(const ResultFileActions &) = delete;

    // Where the record comes from; null means the command does nothing.
    std::function<std::shared_ptr<ImageFileInfo>()> chosenRecord;

    void openFile() const;
    void revealInFinder() const;
    void quickLook() const;

    // Told when the desktop had no application or file manager for the address, so the user
    // learns why nothing opened.
    std::function<void(const QUrl &)> desktopRefused;

    // Replaceable for tests; the defaults hand the address to the desktop and report a refusal to
    // desktopRefused.
    std::function<void(const QUrl &)> openUrl = [this](const QUrl &url) { defaultOpenUrl(url, desktopRefused); };
    std::function<void(const QUrl &)> revealUrl
        = [this](const QUrl &url) { defaultRevealUrl(url, desktopRefused); };

    // The results window's Quick Look request; the window's owner shows the preview.
    std::function<void(const QUrl &)> quickLookUrl;

    using Refused = std::function<void(const QUrl &)>;
    static void defaultOpenUrl(const QUrl &url, const Refused &refused);
    // Asks the file manager (freedesktop FileManager1 over D-Bus) to show the file selected; when
    // no file manager answers, opens the folder that holds it.
    static void defaultRevealUrl(const QUrl &url, const Refused &refused);
};
