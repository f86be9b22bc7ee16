#include "removal/ui/ResultWindowMarking.h"

#include "removal/ui/AutoMarkSheets.h"
#include "removal/ui/ResultContextMenu.h"
#include "results/ui/ResultViewController.h"

ResultWindowMarking::ResultWindowMarking(ResultViewController &controller, QObject *parent)
    : QObject(parent)
    , m_c(controller)
{
    if (controller.isViewLoaded())
        attach();
    else
        connect(&controller, &ResultViewController::viewLoaded, this, &ResultWindowMarking::attach,
            Qt::SingleShotConnection);
}

ResultWindowMarking::~ResultWindowMarking() = default;

void ResultWindowMarking::attach()
{
    m_autoMark = std::make_unique<AutoMarkSheets>(m_c);
    AutoMarkSheets *sheets = m_autoMark.get();
    connect(
        &m_c, &ResultViewController::autoMarkAllItemsRequested, sheets, &AutoMarkSheets::autoMarkAllItems);
    m_contextMenu = std::make_unique<ResultContextMenu>(m_c);
}
