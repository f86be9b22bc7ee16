// List cell view.
#include "controls/CustomCell.h"

CustomCell::CustomCell(QWidget *parent)
    : QWidget(parent)
{
}
