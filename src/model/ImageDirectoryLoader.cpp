// Items and sections of the results grid.
#include "model/ImageDirectoryLoader.h"

void ImageDirectoryLoader::setupImageFiles(const QList<QUrl> &urls)
{
    imageFiles.clear();
    imageFiles.reserve(urls.size());
    for (const QUrl &url : urls) {
        ImageFile file;
        file.fileName = url.fileName();
        imageFiles.append(file);
    }
}

void ImageDirectoryLoader::loadImageFiles(const std::optional<QList<QUrl>> &urls)
{
    if (urls)
        setupImageFiles(*urls);
    sectionsAttributesArray.clear();
    numberOfSections = 1;
    if (singleSectionMode)
        sectionsAttributesArray.append({0, int(imageFiles.size())});
    else
        setupSections();
}

void ImageDirectoryLoader::setupSections()
{
    const int total = int(imageFiles.size());
    const QList<int> &lengths = sectionLengthArray;
    if (singleSectionMode || lengths.size() < 2 || lengths.first() >= total) {
        sectionsAttributesArray.append({0, total});
        return;
    }
    sectionsAttributesArray.append({0, lengths.first()});
    int offset = 0;
    for (qsizetype i = 1; i < lengths.size(); ++i) {
        ++numberOfSections;
        offset += sectionsAttributesArray.last().sectionLength;
        if (offset + lengths[i] < total) {
            sectionsAttributesArray.append({offset, lengths[i]});
            continue;
        }
        sectionsAttributesArray.append({offset, total - offset});
        return;
    }
}
