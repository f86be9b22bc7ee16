// Grid section header.
#include "controls/HeaderView.h"

HeaderView::HeaderView(QWidget *parent)
    : QWidget(parent)
{
}
