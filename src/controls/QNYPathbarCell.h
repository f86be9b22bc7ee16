// The cell of QNYPathBar; it draws as the path bar cell does.
#pragma once

#include "controls/ITPathbarCell.h"

class QNYPathbarCell : public ITPathbarCell
{
};
