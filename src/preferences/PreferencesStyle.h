// How the preferences window offers its panes: one toolbar item each, or one segmented control.
#pragma once

namespace Preferences
{
enum class Style : int { toolbarItems = 0, segmentedControl = 1 };
}
