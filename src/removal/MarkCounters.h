// The one step that marks or unmarks a file and keeps the results window's marked counters with it,
// shared by the auto-mark rules and the manual marking.
#pragma once

class ImageFileInfo;
class ResultState;

class MarkCounters
{
public:
    // Sets the mark and adds the file to countMarked, countiPhotoMarked (iPhoto items) and sizeMarked.
    static void markAndCount(ResultState &state, ImageFileInfo &record);
    // The exact reverse, for a marked file only, so the counters never go below zero.
    static void unmarkAndCount(ResultState &state, ImageFileInfo &record);
};
