// The current alert presenter.
#include "platform/ui/AlertPresenter.h"

#include "platform/ui/GuiAlertPresenter.h"
#include "platform/ui/InstalledService.h"

using Slot = InstalledService<AlertPresenter, GuiAlertPresenter>;

AlertPresenter::~AlertPresenter() = default;

AlertPresenter &AlertPresenter::current()
{
    return Slot::current();
}

void AlertPresenter::setCurrent(AlertPresenter *presenter)
{
    Slot::setCurrent(presenter);
}

AlertPresenter *AlertPresenter::installed()
{
    return Slot::installed();
}
