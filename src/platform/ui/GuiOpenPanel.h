// The open panel as a window-modal, non-native file dialog.
#pragma once

#include "platform/ui/OpenPanel.h"

class GuiOpenPanel : public OpenPanel
{
public:
    void beginSheet(const OpenPanelOptions &options, QWidget *parent, Completion completion) override;
};
