// The results window's sheets that other steps open, and what their buttons do: the automation
// permission sheet, the iPhoto check, the Photos steps window with its step machine, the rating
// answer and the scan-complete close. Every sheet opens and closes through the AlertPresenter.
#pragma once

#include <functional>

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QPushButton>

#include "controls/CFMButton.h"
#include "controls/IMGButton.h"
#include <QUrl>

#include "controls/CustomWindowNag.h"

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
    void btnOpenSystemPrefAutorizationWindowTapped();
    void btnClosePhotoInstructionTapped(QWidget *windowAfterTrash);
    // `sender` is one of the rating buttons; the Yes button records the version and opens the page.
    void RateMeTapped(QObject *sender, QWidget *windowRateus, QPushButton *btnRateMe);
    void retryForTrash();
    void cancelTrashProcess();
    void previousStepForPhotosApp();
    void nextStepForPhotosApp();
    void continueToMovePhotosToAlbum();
    void closeWindowPhotosApp();

    // Hooks: the steps window's drawing and the removal run (both of the removal side), how a
    // URL is opened, and whether the Photos application runs (never on this platform).
    std::function<void()> showPhotosStepsWindow;
    std::function<void()> trashFileAfterConfirmation;
    std::function<void(const QUrl &)> openUrl;
    std::function<bool()> isPhotosApplicationRunning;

    // A hidden sheet of the results window named `name`, dark slate with light texts like the main
    // window's sheets.
    static CustomWindowNag *makeSheet(QWidget *view, const char *name);

    static QUrl automationSettingsUrl();
    // The application's page in a store; none is known on this platform, so the Yes button opens
    // nothing.
    static QUrl productPageUrl();

    QPointer<CustomWindowNag> windowAuthorization, windowiPhotoCheck, windowForPhotosApp;
    QPointer<QLabel> lblAuthorizationHeading, lblAuthorizationSubHeading, lblAuthorizationFirstPoint,
        lblAuthorizationSecondPoint, lblAuthorizationThirdPoint, lblAuthorizationFourthPoint,
        lblAuthorizationFifthPoint, lblAuthorizationSixthPoint, lblPhtosAppTitel, lblStepText;
    QPointer<IMGButton> btnOpenSystemPreferecnes;
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
