// The auto-mark command of the results window: the dialog that explains the rules before a run
// (unless the user turned it off), the progress sheet with the marked count, and the run itself,
// sliced on the GUI thread so the sheet's Cancel is seen between groups.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>

#include "controls/CFMButton.h"
#include "controls/CustomWindowNag.h"
#include "controls/IMGButton.h"
#include "removal/AutoMarkRun.h"

class ResultViewController;

class AutoMarkSheets : public QObject
{
    Q_OBJECT
public:
    // Builds both sheets on the controller's view, which is loaded if it is not yet.
    explicit AutoMarkSheets(ResultViewController &controller, QObject *parent = nullptr);

    // The entry point: runs at once when "doNotShowAutoMarkDialog" reads true, else asks first.
    void autoMarkAllItems();
    // The run without the dialog.
    void proceedToautoMarkAllitems();
    void continueAutoMark();
    void cancelAutoMark();
    void showPrefrences();
    void cancelBtnTappedAutoMarking();

    // The bar follows the groups worked through; the label counts the marked files.
    void updateAutoMarkProgress(int count, int groupsDone, int groupsTotal);
    void closeAutoMarkingSheet();

    AutoMarkRun &run() { return m_run; }

    QPointer<CustomWindowNag> windowAutoMark, windowAutoMarking;
    QPointer<QWidget> boxMainWindowAutoMark, boxAutoMarking;
    QPointer<QLabel> lblYouCanCustomizeHeading, lblTheRulesDetermine, lbAutoMarkInProgress,
        lblNumberPhotosMarked;
    QPointer<QCheckBox> btnDontShowAgain;
    QPointer<CFMButton> btnShowPrefrencesAutoMark, btnCancelOnAutoMark, btnCancelAutoMark;
    QPointer<IMGButton> btnContinueOnAutoMark;
    QPointer<QProgressBar> progressBarAutoMarking;

signals:
    // A run has ended and the window shows its marks (the sheet closes a little later).
    void autoMarkFinished(bool stopped);

private:
    void buildDialog(QWidget *view);
    void buildProgressSheet(QWidget *view);
    void closeModalSheet(QWidget *window);
    void runFinished(bool stopped);

    ResultViewController &m_c;
    AutoMarkRun m_run;
};
