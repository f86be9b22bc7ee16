// The position of an item in a sectioned grid: its section and its item within the section. Sent
// as the "indexpath" of the "cellselection" notification (QVariant::fromValue).
#pragma once

#include <compare>

#include <QMetaType>

struct IndexPath {
    int section = 0;
    int item = 0;

    friend auto operator<=>(const IndexPath &, const IndexPath &) = default;
};

Q_DECLARE_METATYPE(IndexPath)
