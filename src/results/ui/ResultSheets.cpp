// Sheets of the results window.
#include "results/ui/ResultSheets.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "results/ResultState.h"
#include "results/ResultTexts.h"
#include "results/ui/AlbumFileNote.h"

using Step = GlobalObjects::StepNumberForPhotos;

namespace
{

QLabel *label(QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}

QPushButton *button(QWidget *parent, const char *key)
{
    return new QPushButton(localizedString(QString::fromLatin1(key)), parent);
}

// The buttons of a sheet, right-aligned in order.
QHBoxLayout *buttonRow(std::initializer_list<QAbstractButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QAbstractButton *b : buttons)
        row->addWidget(b);
    return row;
}

} // namespace

ResultSheets::ResultSheets(ResultState &state, QWidget *view, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_view(view)
{
    isPhotosApplicationRunning
        = [] { return CommonFunc::isApplicationRunning(QStringLiteral("com.apple.Photos")); };
    showPhotosStepsWindow = [this] { drawSteps(); };
    buildAuthorization(view);
    buildiPhotoCheck(view);
    buildPhotosSteps(view);
}

void ResultSheets::buildAuthorization(QWidget *view)
{
    windowAuthorization = makeSheet(view, "windowAuthorization");
    windowAuthorization->setFixedWidth(480);
    auto *column = new QVBoxLayout(windowAuthorization);
    column->setContentsMargins(24, 20, 24, 18);
    column->setSpacing(8);
    for (QPointer<QLabel> *l : { &lblAuthorizationHeading, &lblAuthorizationSubHeading,
             &lblAuthorizationFirstPoint, &lblAuthorizationSecondPoint, &lblAuthorizationThirdPoint,
             &lblAuthorizationFourthPoint, &lblAuthorizationFifthPoint, &lblAuthorizationSixthPoint }) {
        *l = label(windowAuthorization);
        column->addWidget(*l);
    }
    lblAuthorizationHeading->setFont(ControlFonts::systemFont(15, QFont::Bold));
    column->insertSpacing(2, 6);
    boxAuthorizationAlbumFile = new AlbumFileNote(windowAuthorization);
    column->addWidget(boxAuthorizationAlbumFile);
    btnOkAuthorization = new CFMButton(windowAuthorization);
    btnOkAuthorization->setText(localizedString(QStringLiteral("ID_OK")));
    btnOkAuthorization->setFixedSize(100, 32);
    ControlStyles::styleFlatButton(btnOkAuthorization, ControlStyles::stopAddingPhotosStyle());
    column->addSpacing(8);
    column->addLayout(buttonRow({ btnOkAuthorization }));
    windowAuthorization->setKeyButtons(btnOkAuthorization, btnOkAuthorization);
    connect(
        btnOkAuthorization, &QAbstractButton::clicked, this, &ResultSheets::btnOkAutarizationWindowTapped);
}

void ResultSheets::buildiPhotoCheck(QWidget *view)
{
    windowiPhotoCheck = makeSheet(view, "windowiPhotoCheck");
    auto *column = new QVBoxLayout(windowiPhotoCheck);
    btnCancelTrashProcess = button(windowiPhotoCheck, "ID_CANCEL");
    btnRetryForTrash = button(windowiPhotoCheck, "ID_QUIT_AND_RETRY");
    column->addLayout(buttonRow({ btnCancelTrashProcess, btnRetryForTrash }));
    windowiPhotoCheck->setKeyButtons(btnRetryForTrash, btnCancelTrashProcess);
    connect(btnCancelTrashProcess, &QPushButton::clicked, this, &ResultSheets::cancelTrashProcess);
    connect(btnRetryForTrash, &QPushButton::clicked, this, &ResultSheets::retryForTrash);
}

void ResultSheets::buildPhotosSteps(QWidget *view)
{
    windowForPhotosApp = makeSheet(view, "windowForPhotosApp");
    auto *column = new QVBoxLayout(windowForPhotosApp);
    lblPhtosAppTitel = label(windowForPhotosApp);
    lblStepText = label(windowForPhotosApp);
    column->addWidget(lblPhtosAppTitel);
    for (QPointer<QWidget> *step : { &viewStepOne, &viewStepTwo, &viewStepThree, &viewStepFour }) {
        *step = new QWidget(windowForPhotosApp);
        column->addWidget(*step, 1);
    }
    column->addWidget(lblStepText);
    // The note of the last step: where the album is kept.
    boxPhotosSyncInfo = new AlbumFileNote(windowForPhotosApp);
    boxPhotosSyncInfo->hide();
    column->addWidget(boxPhotosSyncInfo);
    auto *row = new QHBoxLayout;
    btnCancelForPhotosApp = button(windowForPhotosApp, "ID_CANCEL");
    btnPreviousForPhotosApp = button(windowForPhotosApp, "ID_PREVIOUS");
    btnNextForPhotosApp = button(windowForPhotosApp, "ID_NEXT");
    btnCountinueForPhotosApp = button(windowForPhotosApp, "ID_CONTINUE");
    row->addWidget(btnCancelForPhotosApp);
    row->addStretch(1);
    for (QPushButton *b :
        { btnPreviousForPhotosApp.data(), btnNextForPhotosApp.data(), btnCountinueForPhotosApp.data() })
        row->addWidget(b);
    column->addLayout(row);
    windowForPhotosApp->setKeyButtons(btnNextForPhotosApp, btnCancelForPhotosApp);
    connect(btnCancelForPhotosApp, &QPushButton::clicked, this, &ResultSheets::closeWindowPhotosApp);
    connect(btnPreviousForPhotosApp, &QPushButton::clicked, this, &ResultSheets::previousStepForPhotosApp);
    connect(btnNextForPhotosApp, &QPushButton::clicked, this, &ResultSheets::nextStepForPhotosApp);
    connect(
        btnCountinueForPhotosApp, &QPushButton::clicked, this, &ResultSheets::continueToMovePhotosToAlbum);
}

void ResultSheets::closeSheet(QWidget *window)
{
    if (!window)
        return;
    window->hide();
    AlertPresenter::current().endSheet(window);
}

void ResultSheets::closeModalSheet(QWidget *window)
{
    AlertPresenter::current().stopModal();
    closeSheet(window);
}

void ResultSheets::btnCloseWindowScanCompleteTapped(QWidget *windowScanComplete)
{
    // Closed first, then the modal loop ends.
    closeSheet(windowScanComplete);
    AlertPresenter::current().stopModal();
}

void ResultSheets::btnOkAutarizationWindowTapped()
{
    closeSheet(windowAuthorization);
}

CustomWindowNag *ResultSheets::makeSheet(QWidget *view, const char *name)
{
    auto *window = new CustomWindowNag(view);
    window->setObjectName(QString::fromLatin1(name));
    ControlStyles::applyWindowPalette(window);
    window->hide();
    return window;
}

void ResultSheets::btnClosePhotoInstructionTapped(QWidget *windowAfterTrash)
{
    closeSheet(windowAfterTrash);
}


void ResultSheets::retryForTrash()
{
    closeModalSheet(windowiPhotoCheck);
}

void ResultSheets::cancelTrashProcess()
{
    closeModalSheet(windowiPhotoCheck);
}

void ResultSheets::setStep(int step)
{
    m_state.stepNumber = GlobalObjects::stepNumberForPhotosFromRaw(step);
    if (showPhotosStepsWindow)
        showPhotosStepsWindow();
}

void ResultSheets::previousStepForPhotosApp()
{
    const int step = m_state.stepNumber ? int(*m_state.stepNumber) : 0;
    if (step > int(Step::stepNumberOneForPhotos))
        setStep(step - 1);
    else if (showPhotosStepsWindow)
        showPhotosStepsWindow();
}

void ResultSheets::nextStepForPhotosApp()
{
    if (!m_state.stepNumber || *m_state.stepNumber == Step::stepNumberFourForPhotos)
        return;
    const int step = int(*m_state.stepNumber);
    if (step != int(Step::stepNumberOneForPhotos)
        || (isPhotosApplicationRunning && isPhotosApplicationRunning())) {
        setStep(step + 1);
        return;
    }
    AlertSpec alert;
    alert.messageText = ResultTexts::albumFolderNotWritable(boxPhotosSyncInfo->path());
    alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
    AlertPresenter::current().runAlert(alert, m_view);
}

void ResultSheets::continueToMovePhotosToAlbum()
{
    if (m_state.stepNumber == Step::stepNumberTwoForPhotos) {
        setStep(int(Step::stepNumberThreeForPhotos));
        return;
    }
    closeWindowPhotosApp();
    if (trashFileAfterConfirmation)
        trashFileAfterConfirmation();
}

void ResultSheets::closeWindowPhotosApp()
{
    m_state.stepNumber = Step::stepNumberOneForPhotos;
    closeModalSheet(windowForPhotosApp);
}

// A plain drawing for when the removal side has not installed its own: the step's view only.
void ResultSheets::drawSteps()
{
    const int step = m_state.stepNumber ? int(*m_state.stepNumber) : 0;
    const QList<QWidget *> views { viewStepOne, viewStepTwo, viewStepThree, viewStepFour };
    for (int i = 0; i < views.size(); ++i)
        views[i]->setVisible(i + 1 == step);
    lblStepText->setText(formatText(QStringLiteral("%d / 4"), step));
}
