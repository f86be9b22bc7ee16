// The control classes the main window is built from.
#pragma once

#include "controls/CFMButton.h"
#include "controls/CircularProgressBarView.h"
#include "controls/CustomTableView.h"
#include "controls/CustomWindowNag.h"
#include "controls/GradientBox.h"
#include "controls/IMGButton.h"
#include "controls/LinkButton.h"

#include <QFrame>
#include <QPushButton>
