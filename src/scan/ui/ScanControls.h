// The control classes the main window is built from.
#pragma once

#include <QFrame>
#include <QPushButton>

#include "controls/CFMButton.h"
#include "controls/CircularProgressBarView.h"
#include "controls/CustomWindowNag.h"
#include "controls/IMGButton.h"

using LinkButton = QPushButton;
using GradientBox = QFrame;
