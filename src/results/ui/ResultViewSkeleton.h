// Builds the fixed widgets of the results view that the controller's operations read and write, in a
// plain arrangement: tool bar, header counts, hint panels, results area (grid and a place for the
// list), right-hand pane (places for the preview and the metadata), footer, and the scan-complete
// and back-to-main sheets. The window's finished look and localised layout are applied over it.
#pragma once

class ResultViewController;
class QWidget;

class ResultViewSkeleton
{
public:
    // Fills the controller's outlets with new widgets inside `view`.
    static void build(ResultViewController &controller, QWidget *view);

private:
    static QWidget *buildToolbar(ResultViewController &c, QWidget *parent);
    static QWidget *buildHeader(ResultViewController &c, QWidget *parent);
    static QWidget *buildHints(ResultViewController &c, QWidget *parent);
    static QWidget *buildResultsArea(ResultViewController &c, QWidget *parent);
    static QWidget *buildFooter(ResultViewController &c, QWidget *parent);
    static void buildScanCompleteSheet(ResultViewController &c, QWidget *view);
    static void buildMoveBackSheet(ResultViewController &c, QWidget *view);
};
