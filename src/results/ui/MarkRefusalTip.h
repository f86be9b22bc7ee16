// Tells why a file could not be marked: a tool tip at the box or row the user acted on, so a
// refused click never passes without a word.
#pragma once

#include "removal/ManualMarking.h"

class QWidget;

class MarkRefusalTip
{
public:
    // Shows the reason beside `near`; nothing for a refusal without a text.
    static void show(ManualMarking::Refusal refusal, QWidget *near);
};
