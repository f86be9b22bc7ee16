// Building blocks for panes laid out as labelled sections in two aligned columns: every label ends
// on one vertical line and every setting starts right of it. A section without a label puts its
// setting where the labels' column would begin.
#pragma once

#include <vector>

#include <QWidget>

#include "preferences/ui/PaneSection.h"

class QGridLayout;

class PaneContainer : public QWidget
{
    Q_OBJECT
public:
    // `contentWidth` is the width of the sections; the container adds 30 on each side and 20
    // above and below.
    PaneContainer(const std::vector<PaneSection> &sections, int contentWidth, QWidget *parent = nullptr);

    // The widest label: where every label ends, measured from where the widest one begins.
    int maxLabelWidth() const;

private:
    QGridLayout *m_grid;
};
