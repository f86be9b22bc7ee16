// The current alert presenter.
#include "platform/ui/AlertPresenter.h"

#include "platform/ui/GuiAlertPresenter.h"

namespace {
AlertPresenter *g_installed = nullptr;
}

AlertPresenter::~AlertPresenter() = default;

AlertPresenter &AlertPresenter::current()
{
    if (g_installed)
        return *g_installed;
    static GuiAlertPresenter gui;
    return gui;
}

void AlertPresenter::setCurrent(AlertPresenter *presenter)
{
    g_installed = presenter;
}

AlertPresenter *AlertPresenter::installed()
{
    return g_installed;
}
