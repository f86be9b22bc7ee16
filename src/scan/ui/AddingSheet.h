// The adding sheet that shows a running scan's progress over the main window, and the prompt to
// quit the photo-library application before its library is read.
#pragma once

#include "app/GlobalObjects.h"

struct MainWindowWidgets;
class QWidget;

class AddingSheet
{
public:
    static void showAddingPhotosSheet(MainWindowWidgets &c, GlobalObjects::CompareType compareType, QWidget *view);
    // GUI thread; closes the sheet and turns the Scan button on again.
    static void dismissAddingPhotosSheetOnMain(MainWindowWidgets &c);
    // Dims the main window (`view`'s window) behind `sheet` on systems whose sheets do not dim it themselves.
    static void showOverlayView(QWidget *view, QWidget *sheet, QWidget *box);
    // Begins `sheet` over the main view `view` with its overlay; a sheet already open stays as it is.
    static void showSheet(QWidget *view, QWidget *sheet, QWidget *box);
};
