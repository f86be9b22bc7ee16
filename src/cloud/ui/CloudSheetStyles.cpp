#include "cloud/ui/CloudSheetStyles.h"

namespace
{

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

// A negative radius is a share of the button's height.
constexpr double kHalfHeight = -0.5;

} // namespace

FlatButtonStyle CloudSheetStyles::scanComputerStyle()
{
    return { rgb(42, 130, 249), rgb(190, 190, 190), Qt::white, Qt::white, rgb(55, 151, 250),
        rgb(169, 169, 169), 4, 0 };
}

FlatButtonStyle CloudSheetStyles::allowPermissionStyle()
{
    return { rgb(52, 109, 240), rgb(190, 190, 190), Qt::white, Qt::white, rgb(52, 109, 240),
        rgb(169, 169, 169), 4, 0 };
}

FlatButtonStyle CloudSheetStyles::addFolderStyle()
{
    return { rgb(42, 130, 249), rgb(153, 204, 253), Qt::white, Qt::white, rgb(55, 151, 250),
        rgb(169, 169, 169), kHalfHeight, 0 };
}

FlatButtonStyle CloudSheetStyles::cancelFolderStyle()
{
    return { rgb(169, 169, 169), rgb(190, 190, 190), Qt::white, Qt::white, rgb(55, 151, 250),
        rgb(169, 169, 169), kHalfHeight, 0 };
}
