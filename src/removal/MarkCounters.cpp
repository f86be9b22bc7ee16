#include "removal/MarkCounters.h"

#include "model/ImageFileInfo.h"
#include "results/ResultState.h"

void MarkCounters::markAndCount(ResultState &state, ImageFileInfo &record)
{
    record.isMark = true;
    ++state.countMarked;
    if (record.isiPhotoNode)
        ++state.countiPhotoMarked;
    state.sizeMarked += record.fileSize;
}

void MarkCounters::unmarkAndCount(ResultState &state, ImageFileInfo &record)
{
    if (!record.isMark)
        return;
    record.isMark = false;
    if (state.countMarked > 0)
        --state.countMarked;
    if (record.isiPhotoNode && state.countiPhotoMarked > 0)
        --state.countiPhotoMarked;
    state.sizeMarked = state.sizeMarked > record.fileSize ? state.sizeMarked - record.fileSize : 0;
}
