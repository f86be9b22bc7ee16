// Builds the fixed widgets of the results view that the controller's operations read and write, in a
// plain arrangement: tool bar, header counts, hint panels, results area (grid and a place for the
// list), right-hand pane (places for the preview and the metadata), footer, and the scan-complete
// and back-to-main sheets. The window's finished look and localised layout are applied over it.
#pragma once

struct ResultWindowWidgets;
class QWidget;

class ResultViewSkeleton
{
public:
    // Fills the controller's outlets with new widgets inside `view`.
    static void build(ResultWindowWidgets &controller, QWidget *view);

private:
    static QWidget *buildToolbar(ResultWindowWidgets &c, QWidget *parent);
    static QWidget *buildHeader(ResultWindowWidgets &c, QWidget *parent);
    static QWidget *buildHints(ResultWindowWidgets &c, QWidget *parent);
    static QWidget *buildResultsArea(ResultWindowWidgets &c, QWidget *parent);
    static QWidget *buildFooter(ResultWindowWidgets &c, QWidget *parent);
    static void buildScanCompleteSheet(ResultWindowWidgets &c, QWidget *view);
    static void buildMoveBackSheet(ResultWindowWidgets &c, QWidget *view);
};
