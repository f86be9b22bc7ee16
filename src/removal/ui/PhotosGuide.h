// The guide for marked library items: the step sheet's layout (instruction, buttons, pictures by
// operating-system profile and language), opening the library before the sheet shows, and the
// permission sheet after a run the library application refused.
#pragma once

#include <array>
#include <memory>

#include <QLabel>
#include <QObject>
#include <QPointer>

#include "results/AfterTrashSummary.h"

class PhotosLibraryBridge;
class ResultSheets;
class ResultViewController;

// The three stacked pictures of a step: frame, picture and lens.
struct StepImages {
    QString frame, picture, lens;
    bool operator==(const StepImages &) const = default;
};

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

    // Steps one to three; names still hold "%@" for the language.
    static StepImages stepImages(const OsProfile &os, int step);
    static StepImages stepImages(const OsProfile &os, int step, const QString &languageCode);
    static QString instructionKey(const OsProfile &os, int step, bool english);

    int openDelayMs = 1000;
    std::array<QPointer<QLabel>, 3> imgFrame, imgPicture, imgLens;
    QPointer<QLabel> imgViewStepForPhotos;

private:
    void buildImageViews();
    void showStepImages(int step, const OsProfile &os, const QString &languageCode);

    ResultViewController &m_c;
    ResultSheets &m_sheets;
    std::shared_ptr<PhotosLibraryBridge> m_bridge;
};
