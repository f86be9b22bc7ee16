// Path bar of the windows' own path controls.
#include "controls/QNYPathBar.h"

#include "controls/QNYPathbarCell.h"

QNYPathBar::QNYPathBar(QWidget *parent)
    : ITPathbar(parent)
{
    setCell(std::make_unique<QNYPathbarCell>());
}
