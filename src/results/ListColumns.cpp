#include "results/ListColumns.h"

#include <algorithm>

ListColumns::Geometry ListColumns::layout(int rowWidth, int typeTitleWidth)
{
    Geometry columns;
    columns[Box] = { kBoxX, kBoxWidth };
    const int typeWidth = std::max(kMinTypeWidth, typeTitleWidth);
    const int start = kBoxX + kBoxWidth + kSpacing;
    const int fixed = kSizeWidth + kDateWidth + typeWidth + 4 * kSpacing + kSpacing;
    const int shared = std::max(0, rowWidth - start - fixed);
    const int nameWidth = shared * 2 / 5;
    int x = start;
    auto place = [&x](ListColumn &column, int width) {
        column = { x, width };
        x += width + kSpacing;
    };
    place(columns[Name], nameWidth);
    place(columns[Size], kSizeWidth);
    place(columns[Date], kDateWidth);
    place(columns[Type], typeWidth);
    place(columns[Folder], shared - nameWidth);
    return columns;
}

QRect ListColumns::boxRect(int rowHeight)
{
    return QRect(kBoxX, (rowHeight - kBoxWidth) / 2, kBoxWidth, kBoxWidth);
}
