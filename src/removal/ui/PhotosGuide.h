// The guide for marked library items: the step sheet's layout (instruction, buttons, and at the
// steps that speak of it the album file), opening the library before the sheet shows, and the permission
// sheet after a run whose album could not be written.
#pragma once

#include <memory>

#include <QObject>
#include <QString>

class PhotosLibraryBridge;
class ResultSheets;
class ResultViewController;

class PhotosGuide : public QObject
{
    Q_OBJECT
public:
    PhotosGuide(ResultViewController &controller, ResultSheets &sheets,
        std::shared_ptr<PhotosLibraryBridge> bridge, QObject *parent = nullptr);

    void showPhotosStepsWindow();
    // Asks the bridge to open the library; the sheet follows after openDelayMs on a timer.
    void openPhotosLibrary(const QString &path);
    // The routing's library branch: lays out step one, opens the library of the first marked
    // library item, and runs the guide sheet once the delay has passed.
    void showGuide();
    void showAuthorizationWindow();
    void setBridge(std::shared_ptr<PhotosLibraryBridge> bridge) { m_bridge = std::move(bridge); }

    // The instruction of step 1 to 4; each names the album.
    static QString instructionKey(int step);
    // The album file the bridge writes to (the program's own when it keeps none).
    QString albumFilePath() const;
    static QString albumFilePath(const PhotosLibraryBridge *bridge);

    int openDelayMs = 1000;

private:
    // Sizes the sheet to the step it shows (its texts wrapped at the guide's width, the album path
    // whole as far as the screen allows) and centres it again when it is up.
    void fitSheetToStep();

    ResultViewController &m_c;
    ResultSheets &m_sheets;
    std::shared_ptr<PhotosLibraryBridge> m_bridge;
};
