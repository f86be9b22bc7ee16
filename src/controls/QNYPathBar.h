// The path control class of the windows' own path bars: a path bar drawn by a QNYPathbarCell, with
// a string field that nothing reads.
#pragma once

#include "controls/ITPathbar.h"

class QNYPathBar : public ITPathbar
{
    Q_OBJECT

public:
    explicit QNYPathBar(QWidget *parent = nullptr);

    QString pathbarStr;
};
