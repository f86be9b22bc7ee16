// One group of matching photos.
#pragma once

#include <memory>

#include <QList>

class ImageFileInfo;

class DuplicatesGroup
{
public:
    // The members in the order they joined. Members point back with a non-owning parent.
    QList<std::shared_ptr<ImageFileInfo>> children;
    // The members that the results window's current filter shows; rewritten by every filter pass.
    QList<std::shared_ptr<ImageFileInfo>> filterChildren;
};
