// Every control of this folder in each of its states, ready to render: used by the gallery test
// and by the hand-run gallery program, so both show the same set.
#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QWidget>

struct GalleryItem {
    QString name;
    std::unique_ptr<QWidget> widget;
};

class ControlGallery
{
public:
    // Each widget is sized, configured and, where a state needs events, put into that state.
    static std::vector<GalleryItem> build();
};
