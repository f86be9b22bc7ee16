// The adding sheet that shows a running scan's progress over the main window, and the prompt to
// quit the photo-library application before its library is read.
#pragma once

class MainViewController;
class QWidget;

class AddingSheet
{
public:
    static void showAddingPhotosSheet(MainViewController &c);
    // GUI thread; closes the sheet and turns the Scan button on again.
    static void dismissAddingPhotosSheetOnMain(MainViewController &c);
    // Dims the main window behind `sheet` on systems whose sheets do not dim it themselves.
    static void showOverlayView(MainViewController &c, QWidget *sheet, QWidget *box);
    // Begins `sheet` over the main window with its overlay; a sheet already open stays as it is.
    static void showSheet(MainViewController &c, QWidget *sheet, QWidget *box);
};
