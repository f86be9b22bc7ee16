// The General pane: five switches bound to their settings, Reset to Defaults and Clear Cache.
#pragma once

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>

#include "preferences/ui/PreferencePane.h"

class GeneralViewController : public PreferencePane
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
    // Deletes the cache of the source the main window scans now.
    void btnClearCacheTapped();

protected:
    void viewDidLoad() override;

private:
    void layoutActionButtons();
    void adjustLayoutForLanguage(const QString &languageCode);
};
