// The non-native file dialog behind GuiOpenPanel: it applies the panel's options to the list and
// to the final choice, and lets folders and package folders be chosen in a multi-selection.
#pragma once

#include <QFileDialog>
#include <QStringList>

#include "platform/ui/OpenPanel.h"

class PanelFilterModel;

class PanelFileDialog : public QFileDialog
{
    Q_OBJECT

public:
    PanelFileDialog(const OpenPanelOptions &options, QWidget *parent);

    // The paths chosen when the dialog was accepted.
    QStringList chosenPaths() const { return m_chosen; }
    // The file-type filter the dialog offers for the options' named types.
    static QString nameFilter(const OpenPanelOptions &options);

public slots:
    void accept() override;

private:
    OpenPanelOptions m_options;
    PanelFilterModel *m_filter;
    QStringList m_chosen;
};
