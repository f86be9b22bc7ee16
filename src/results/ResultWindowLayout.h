// The results window's per-language corrections as data and pure functions: which font and frame
// changes each interface language gets, the flow of the top tool bar from its measured title widths,
// and the flow of the bottom bar. Widget-free; the window's builder applies the answers.
#pragma once

#include <optional>
#include <vector>

#include <QRectF>
#include <QString>
#include <QStringList>

// One change of a control's font or frame. Offsets add to the frame as found; `frame` and
// `height` replace it. Frames are bottom-left.
struct LayoutChange {
    double dx = 0, dy = 0, dw = 0;
    std::optional<double> height;
    std::optional<QRectF> frame;
    std::optional<double> fontSize;
    bool bold = false;
    // Top and bottom title margins of an image button.
    std::optional<double> titleMargins;
};

struct LayoutRule {
    QStringList languages;
    QStringList controls;
    LayoutChange change;
};

struct ToolbarInput {
    QString language;
    double startX = 0;
    // Measured title widths (fittingWidth) of the buttons in their current titles.
    double autoMark = 0, unmark = 0, selectionAssistance = 0, typeListing = 0;
    double fileTypeMenuWidth = 0;
    double trashMarked = 0;
    double viewWidth = 0;
};

struct ToolbarLayout {
    // x and width of each button; separators sit at the right edge of the button before them.
    double autoMarkX = 0, autoMarkWidth = 0, unmarkX = 0, unmarkWidth = 0, selectionX = 0, selectionWidth = 0;
    double typeListingX = 0, typeListingWidth = 0;
    double sepAutoMarkX = 0, sepUnmarkX = 0, sepAssistanceX = 0, sepListTypeX = 0;
    double fileTypeMenuX = 0, fileTypeMenuWidth = 0;
    double trashMarkedX = 0, trashMarkedWidth = 0;
};

struct BottomBarInput {
    double groupsX = 0;
    double groupsFitting = 0, markedFitting = 0;
    double separatorWidth = 0;
    double boxWidth = 0;
};

struct BottomBarLayout {
    double groupsWidth = 0, separatorOneX = 0, markedX = 0, markedWidth = 0, separatorTwoX = 0;
    double pathBarX = 0, pathBarWidth = 0;
};

class ResultWindowLayout
{
public:
    // setButtonFontsAndTitles' table and setFontsAndFrames' table, in order.
    static const std::vector<LayoutRule> &buttonFontsAndTitlesRules();
    static const std::vector<LayoutRule> &fontsAndFramesRules();
    // The construction's own language rules: list headers, choice buttons, after-trash labels.
    static const std::vector<LayoutRule> &constructionRules();
    // The rules of `table` that apply to `language`, in table order (changes add up).
    static std::vector<LayoutRule> rulesFor(const std::vector<LayoutRule> &table, const QString &language);

    // Whether the tool bar is re-titled at 10 points for the language.
    static bool toolbarUsesSmallTitles(const QString &language);
    static double listingGap(const QString &language);
    static double firstButtonsPad(const QString &language);
    // English keeps the interface's tool bar; none for it.
    static std::optional<ToolbarLayout> layoutTopToolbar(const ToolbarInput &input);
    static BottomBarLayout layoutBottomBar(const BottomBarInput &input);

    static QRectF sliderMatchingLevelFrame(const QString &language);
};
