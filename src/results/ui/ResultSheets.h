// The results window's sheets that other steps open, and what their buttons do: the album file
// permission sheet, the iPhoto check, the library steps window with its step machine and the
// scan-complete close. Every sheet opens and closes through the AlertPresenter.
#pragma once

#include <functional>

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QPushButton>

#include "controls/CFMButton.h"
#include "controls/IMGButton.h"

#include "controls/CustomWindowNag.h"

class AlbumFileNote;
class ResultState;

class ResultSheets : public QObject
{
    Q_OBJECT
public:
    ResultSheets(ResultState &state, QWidget *view, QObject *parent = nullptr);

    // Hides the sheet and ends it on the view's window; no modal loop is touched.
    void closeSheet(QWidget *window);
    // Ends the modal loop first, then as closeSheet.
    void closeModalSheet(QWidget *window);

    void btnCloseWindowScanCompleteTapped(QWidget *windowScanComplete);
    void btnOkAutarizationWindowTapped();
    void btnClosePhotoInstructionTapped(QWidget *windowAfterTrash);
    void retryForTrash();
    void cancelTrashProcess();
    void previousStepForPhotosApp();
    void nextStepForPhotosApp();
    void continueToMovePhotosToAlbum();
    void closeWindowPhotosApp();

    // Hooks: the steps window's drawing and the removal run (both of the removal side), and
    // whether the album can be written.
    std::function<void()> showPhotosStepsWindow;
    std::function<void()> trashFileAfterConfirmation;
    std::function<bool()> isPhotosApplicationRunning;

    // A hidden sheet of the results window named `name`, dark slate with light texts like the main
    // window's sheets.
    static CustomWindowNag *makeSheet(QWidget *view, const char *name);


    QPointer<CustomWindowNag> windowAuthorization, windowiPhotoCheck, windowForPhotosApp;
    QPointer<QLabel> lblAuthorizationHeading, lblAuthorizationSubHeading, lblAuthorizationFirstPoint,
        lblAuthorizationSecondPoint, lblAuthorizationThirdPoint, lblAuthorizationFourthPoint,
        lblAuthorizationFifthPoint, lblAuthorizationSixthPoint, lblPhtosAppTitel, lblStepText;
    // Where the album of marked duplicates is kept, with the button that shows it.
    QPointer<AlbumFileNote> boxAuthorizationAlbumFile, boxPhotosSyncInfo;
    QPointer<CFMButton> btnOkAuthorization;
    QPointer<QPushButton> btnRetryForTrash, btnCancelTrashProcess, btnNextForPhotosApp, btnCancelForPhotosApp, btnPreviousForPhotosApp,
        btnCountinueForPhotosApp;
    QPointer<QWidget> viewStepOne, viewStepTwo, viewStepThree, viewStepFour;

private:
    void buildAuthorization(QWidget *view);
    void buildiPhotoCheck(QWidget *view);
    void buildPhotosSteps(QWidget *view);
    void setStep(int step);
    void drawSteps();

    ResultState &m_state;
    QPointer<QWidget> m_view;
};
