// One item of the results collection loader: a file name and, once loaded, its thumbnail.
#pragma once

#include <optional>

#include <QImage>
#include <QString>

class ImageFile
{
public:
    std::optional<QImage> thumbnail;
    QString fileName;
};
