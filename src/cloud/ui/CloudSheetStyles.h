// The flat button styles of the cloud sign-in sheets and folder windows.
#pragma once

#include "controls/ControlStyles.h"

class CloudSheetStyles
{
public:
    static FlatButtonStyle scanComputerStyle();
    static FlatButtonStyle allowPermissionStyle();
    // Rounded to half the button's height.
    static FlatButtonStyle addFolderStyle();
    static FlatButtonStyle cancelFolderStyle();
};
