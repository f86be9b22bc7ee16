#include "removal/ui/AutoMarkSheets.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/LocalizedString.h"
#include "controls/ControlFonts.h"
#include "controls/ControlStyles.h"
#include "controls/SettingsBinding.h"
#include "platform/Dispatch.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/VariantNumber.h"
#include "platform/ui/AlertPresenter.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultWindowStyles.h"

namespace
{

const QString kDoNotShowKey = QStringLiteral("doNotShowAutoMarkDialog");
constexpr double kCloseDelay = 2.0;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

QLabel *label(QWidget *parent, int fontSize, bool bold, const QColor &color)
{
    auto *l = new QLabel(parent);
    l->setWordWrap(true);
    l->setFont(ControlFonts::systemFont(fontSize, bold ? QFont::Bold : QFont::Normal));
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, color);
    l->setPalette(palette);
    return l;
}

CFMButton *flatButton(QWidget *parent, const char *key)
{
    auto *b = new CFMButton(parent);
    b->setText(text(key));
    b->setFixedHeight(28);
    b->setMinimumWidth(100);
    ControlStyles::styleFlatButton(b, ControlStyles::stopAddingPhotosStyle());
    return b;
}

// A sheet with its framed content box, laid out in a column.
QVBoxLayout *sheetColumn(CustomWindowNag *window, QPointer<QWidget> &box, QSize size)
{
    window->setFixedSize(size);
    box = new QFrame(window);
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(box);
    ResultWindowStyles::styleSheetWindow(window, box);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(24, 20, 24, 18);
    column->setSpacing(10);
    return column;
}

} // namespace

AutoMarkSheets::AutoMarkSheets(ResultViewController &controller, QObject *parent)
    : QObject(parent)
    , m_c(controller)
    , m_run(controller)
{
    QWidget *view = controller.view();
    buildDialog(view);
    buildProgressSheet(view);
    connect(&m_run, &AutoMarkRun::progress, this, &AutoMarkSheets::updateAutoMarkProgress);
    connect(&m_run, &AutoMarkRun::finished, this, &AutoMarkSheets::runFinished);
}

void AutoMarkSheets::buildDialog(QWidget *view)
{
    windowAutoMark = ResultSheets::makeSheet(view, "windowAutoMark");
    QVBoxLayout *column = sheetColumn(windowAutoMark, boxMainWindowAutoMark, QSize(520, 210));
    lblYouCanCustomizeHeading = label(boxMainWindowAutoMark, 15, true, Qt::white);
    lblYouCanCustomizeHeading->setText(text("ID_YOU_CAN_COSTOMIZE_AUTOMARK_RULES"));
    lblTheRulesDetermine = label(boxMainWindowAutoMark, 13, false, QColor(208, 210, 213));
    lblTheRulesDetermine->setText(text("ID_THE_RULES_DETERMINES_PHOTO_TO_MARK"));
    btnDontShowAgain = new QCheckBox(text("ID_DONT_SHOW_AGAIN"), boxMainWindowAutoMark);
    QPalette palette = btnDontShowAgain->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    btnDontShowAgain->setPalette(palette);
    SettingsBinding::bindCheckBox(btnDontShowAgain, kDoNotShowKey);
    btnShowPrefrencesAutoMark = flatButton(boxMainWindowAutoMark, "ID_SHOW_PREFERENCES");
    btnCancelOnAutoMark = flatButton(boxMainWindowAutoMark, "ID_CANCEL");
    btnContinueOnAutoMark = new IMGButton(boxMainWindowAutoMark);
    btnContinueOnAutoMark->setText(text("ID_CONTINUE"));
    btnContinueOnAutoMark->setFixedSize(110, 28);
    ControlStyles::styleSheetImageButton(btnContinueOnAutoMark, QStringLiteral("blue_btn_sm"));
    column->addWidget(lblYouCanCustomizeHeading);
    column->addWidget(lblTheRulesDetermine);
    column->addStretch(1);
    column->addWidget(btnDontShowAgain);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(btnShowPrefrencesAutoMark);
    buttons->addStretch(1);
    buttons->addWidget(btnCancelOnAutoMark);
    buttons->addWidget(btnContinueOnAutoMark);
    column->addLayout(buttons);
    windowAutoMark->setKeyButtons(btnContinueOnAutoMark, btnCancelOnAutoMark);
    connect(btnShowPrefrencesAutoMark, &QAbstractButton::clicked, this, &AutoMarkSheets::showPrefrences);
    connect(btnCancelOnAutoMark, &QAbstractButton::clicked, this, &AutoMarkSheets::cancelAutoMark);
    connect(btnContinueOnAutoMark, &QAbstractButton::clicked, this, &AutoMarkSheets::continueAutoMark);
}

void AutoMarkSheets::buildProgressSheet(QWidget *view)
{
    windowAutoMarking = ResultSheets::makeSheet(view, "windowAutoMarking");
    QVBoxLayout *column = sheetColumn(windowAutoMarking, boxAutoMarking, QSize(440, 170));
    lbAutoMarkInProgress = label(boxAutoMarking, 15, true, Qt::white);
    lbAutoMarkInProgress->setText(text("ID_AUTOMARK_IN_PROGRESS"));
    progressBarAutoMarking = new QProgressBar(boxAutoMarking);
    progressBarAutoMarking->setTextVisible(false);
    progressBarAutoMarking->setFixedHeight(10);
    lblNumberPhotosMarked = label(boxAutoMarking, 13, false, QColor(208, 210, 213));
    btnCancelAutoMark = flatButton(boxAutoMarking, "ID_CANCEL");
    column->addWidget(lbAutoMarkInProgress);
    column->addWidget(progressBarAutoMarking);
    column->addWidget(lblNumberPhotosMarked);
    column->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancelAutoMark);
    column->addLayout(buttons);
    windowAutoMarking->setCancelButton(btnCancelAutoMark);
    connect(btnCancelAutoMark, &QAbstractButton::clicked, this, &AutoMarkSheets::cancelBtnTappedAutoMarking);
}

void AutoMarkSheets::autoMarkAllItems()
{
    if (m_c.removalInProgress)
        return;
    const QVariant doNotShow = UserDefaults::standard().objectForKey(kDoNotShowKey);
    if (VariantNumber::isNumber(doNotShow) && doNotShow.toBool()) {
        proceedToautoMarkAllitems();
        return;
    }
    AlertPresenter &presenter = AlertPresenter::current();
    presenter.beginSheet(windowAutoMark, m_c.view());
    presenter.runModalForWindow(windowAutoMark);
}

void AutoMarkSheets::closeModalSheet(QWidget *window)
{
    AlertPresenter &presenter = AlertPresenter::current();
    presenter.stopModal();
    presenter.endSheet(window);
}

void AutoMarkSheets::continueAutoMark()
{
    AlertPresenter &presenter = AlertPresenter::current();
    presenter.endSheet(m_c.windowScanComplete);
    presenter.stopModal();
    closeModalSheet(windowAutoMark);
    proceedToautoMarkAllitems();
}

void AutoMarkSheets::cancelAutoMark()
{
    closeModalSheet(windowAutoMark);
}

void AutoMarkSheets::showPrefrences()
{
    closeModalSheet(windowAutoMark);
    emit m_c.preferencesPaneRequested(QStringLiteral("automark"));
}

void AutoMarkSheets::proceedToautoMarkAllitems()
{
    if (m_run.isRunning())
        return;
    // A zero range would turn the bar into a busy indicator; an empty run shows an empty bar.
    progressBarAutoMarking->setRange(0, std::max(int(m_c.arrGroups.size()), 1));
    progressBarAutoMarking->setValue(0);
    lblNumberPhotosMarked->setText(formatText(text("ID_COUNT_PHOTOS_AUTOMARKED"), 0));
    AlertPresenter::current().beginSheet(windowAutoMarking, m_c.view());
    m_run.start();
}

void AutoMarkSheets::updateAutoMarkProgress(int count, int groupsDone, int groupsTotal)
{
    const char *key = count < 2 ? "ID_COUNT_PHOTO_AUTOMARKED" : "ID_COUNT_PHOTOS_AUTOMARKED";
    lblNumberPhotosMarked->setText(formatText(text(key), count));
    progressBarAutoMarking->setRange(0, std::max(groupsTotal, 1));
    progressBarAutoMarking->setValue(std::clamp(groupsDone, 0, std::max(groupsTotal, 1)));
}

void AutoMarkSheets::cancelBtnTappedAutoMarking()
{
    m_c.bAbortAutoMark = true;
    AlertPresenter::current().endSheet(windowAutoMarking);
}

void AutoMarkSheets::runFinished(bool stopped)
{
    m_c.updateFooterInfo();
    // Reloads the showing view and selects the grid's first item, whichever view shows.
    m_c.reloadCollectionView_Main();
    QPointer<AutoMarkSheets> self(this);
    Dispatch::mainAfter(kCloseDelay, [self] {
        if (self)
            self->closeAutoMarkingSheet();
    });
    emit autoMarkFinished(stopped);
}

void AutoMarkSheets::closeAutoMarkingSheet()
{
    AlertPresenter::current().endSheet(windowAutoMarking);
}
