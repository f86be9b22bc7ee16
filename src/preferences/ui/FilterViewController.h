// The file-type filter pane: the image and video types a scan takes, each ticked or not (one at
// least stays ticked), and the smallest file size a scan looks at.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>

#include "controls/Stepper.h"
#include "preferences/FileTypeList.h"
#include "preferences/ui/PreferencePane.h"

class QHBoxLayout;

class FilterViewController : public PreferencePane
{
    Q_OBJECT
public:
    static constexpr int kViewWidth = 540;
    static constexpr int kViewHeight = 420;

    explicit FilterViewController(QObject *parent = nullptr);

    // Image types, then video types, as stored.
    const FileTypeList &arrFileType() const { return m_types; }
    int countAllowedExtension() const { return m_types.countAllowedExtension(); }

    QPointer<Stepper> stepper;
    QPointer<QLabel> lblMinimumFIleSize;
    QPointer<QLabel> lblCheckUncheckFileType;
    QPointer<QLabel> lblFileType;
    QPointer<QComboBox> popUpDropDown;
    QPointer<QLineEdit> txtFileSize;
    QPointer<QTableWidget> tvFilter;

    void btnCheckUnCheckTapped(QObject *sender, bool checked);
    void resetFromDefaults();
    void reloadTableView_main();

protected:
    void viewDidLoad() override;

private:
    QHBoxLayout *makeMinimumSizeRow();
    void layoutMinimumSizeRow();

    FileTypeList m_types;
};
