// Turns the flat list of the grid's files into items and sections: one item per file and, unless in
// single-section mode, one section per wanted length, in order. The results grid sets the lengths to
// its groups' sizes before each reload.
#pragma once

#include <optional>

#include <QList>
#include <QUrl>

#include "model/ImageFile.h"

class ImageDirectoryLoader
{
public:
    struct SectionAttributes
    {
        int sectionOffset = 0;
        int sectionLength = 0;

        friend bool operator==(const SectionAttributes &, const SectionAttributes &) = default;
    };

    ImageDirectoryLoader() = default;
    virtual ~ImageDirectoryLoader() = default;

    // Rebuilds the items when `urls` are given, then the sections.
    virtual void loadImageFiles(const std::optional<QList<QUrl>> &urls);
    // Builds the sections from sectionLengthArray; a section that would reach or pass the end of the
    // items is cut to the items that remain and ends the list.
    virtual void setupSections();
    virtual void setupImageFiles(const QList<QUrl> &urls);

    QList<ImageFile> imageFiles;
    int numberOfSections = 1;
    bool singleSectionMode = true;
    QList<int> sectionLengthArray;
    QList<SectionAttributes> sectionsAttributesArray;
};
