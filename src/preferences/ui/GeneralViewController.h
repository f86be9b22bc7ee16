// The General pane: five switches bound to their settings, Reset to Defaults and Clear Cache. Its
// content is built from the pane building blocks: one container section holding the switches.
#pragma once

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>

#include "preferences/ui/PaneHostingController.h"

class GeneralViewController : public Preferences::PaneHostingController
{
    Q_OBJECT
public:
    static constexpr int kViewWidth = 540;
    static constexpr int kViewHeight = 236;

    explicit GeneralViewController(QObject *parent = nullptr);

    QPointer<QPushButton> btnResetDefault;
    QPointer<QPushButton> btnClearCache;
    QPointer<QCheckBox> btnCheckScanVideoInExactScan;
    QPointer<QCheckBox> btnCheckShowDeleteDialog;
    QPointer<QCheckBox> btnCheckShowDialogOnMovingBack;
    QPointer<QCheckBox> btnCheckShowAutoMarkDialog;
    QPointer<QCheckBox> btnCheckScanPhotosLibrary;

    void btnResetDefaultTapped();
    // Deletes the cache of the source the main window scans now and says what went.
    void btnClearCacheTapped();

private:
    // The General pane as a value; its content calls back into `pane` for the controls.
    static Preferences::Pane makePane(GeneralViewController *pane);
    QWidget *makeContentView();
    QWidget *makeSwitches();
    void layoutActionButtons();
    void adjustLayoutForLanguage(const QString &languageCode);
};
