// The column geometry that the results list's title row and its file rows share, so every column
// starts at the same x in every row and under its title.
#pragma once

#include <array>

#include <QRect>

struct ListColumn {
    int x = 0;
    int width = 0;
};

class ListColumns
{
public:
    enum Column { Box, Name, Size, Date, Type, Folder, Count };
    using Geometry = std::array<ListColumn, Count>;

    // Where the check box (or the lock) lies in a file row, from the row's left edge.
    static constexpr int kBoxX = 6;
    static constexpr int kBoxWidth = 20;
    static constexpr int kSpacing = 8;
    static constexpr int kSizeWidth = 80;
    static constexpr int kDateWidth = 160;
    static constexpr int kMinTypeWidth = 50;

    // The columns of a row `rowWidth` wide whose type column must hold a title `typeTitleWidth`
    // wide; the name and folder columns share what the fixed columns leave, the folder the larger
    // part. A row too narrow for the fixed columns gives the shared ones no width.
    static Geometry layout(int rowWidth, int typeTitleWidth);
    // The check box of a file row `rowHeight` high, as drawn and as it takes clicks.
    static QRect boxRect(int rowHeight);
};
