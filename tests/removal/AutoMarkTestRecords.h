// Records for the auto-mark tests, built in memory with only what the rules read.
#pragma once

#include <memory>
#include <optional>
#include <utility>

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include "model/DuplicatesGroup.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"

namespace AutoMarkTestRecords
{

// One member: name (with extension), size, optional EXIF (pixels, dpi, capture year), modification
// year, and its locked, library, hidden and pre-marked state.
struct Member {
    explicit Member(QString fileName)
        : name(std::move(fileName))
    {
    }

    QString name;
    std::uint64_t size = 10;
    std::optional<std::pair<qint64, qint64>> pixels;
    std::optional<int> captureYear;
    std::optional<int> modYear;
    bool exif = false;
    bool locked = false;
    bool library = false;
    bool hidden = false;
    bool marked = false;
    double dpi = 72;

    Member &bytes(std::uint64_t n)
    {
        size = n;
        return *this;
    }
    Member &px(qint64 w, qint64 h)
    {
        pixels = std::pair { w, h };
        exif = true;
        return *this;
    }
    Member &taken(int year)
    {
        captureYear = year;
        exif = true;
        return *this;
    }
    Member &withExif()
    {
        exif = true;
        return *this;
    }
    Member &modified(int year)
    {
        modYear = year;
        return *this;
    }
    Member &lock()
    {
        locked = true;
        return *this;
    }
    Member &inLibrary()
    {
        library = true;
        return *this;
    }
    Member &hide()
    {
        hidden = true;
        return *this;
    }
    Member &premarked()
    {
        marked = true;
        return *this;
    }
};

inline Member m(const char *name)
{
    return Member(QString::fromLatin1(name));
}

inline QDateTime yearStart(int year)
{
    return QDateTime(QDate(year, 1, 1), QTime(12, 0), Qt::UTC);
}

inline std::shared_ptr<ImageFileInfo> makeRecord(const Member &spec)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->fileName = spec.name;
    r->filePath = QStringLiteral("/photos/") + spec.name;
    r->fileSize = spec.size;
    r->isLocked = spec.locked;
    r->isPhotosNode = spec.library;
    r->isMark = spec.marked;
    if (spec.modYear)
        r->modDate = yearStart(*spec.modYear);
    if (spec.exif) {
        r->exifInfo = std::make_shared<ExifInfo>();
        if (spec.pixels) {
            r->exifInfo->pixelWidth = spec.pixels->first;
            r->exifInfo->pixelHeight = spec.pixels->second;
        }
        r->exifInfo->dpiWidth = r->exifInfo->dpiHeight = spec.dpi;
        if (spec.captureYear)
            r->exifInfo->captureDate = yearStart(*spec.captureYear);
    }
    return r;
}

inline std::shared_ptr<DuplicatesGroup> makeGroup(const std::vector<Member> &members)
{
    auto g = std::make_shared<DuplicatesGroup>();
    for (const Member &spec : members) {
        auto r = makeRecord(spec);
        r->parent = g;
        g->children.append(r);
        if (!spec.hidden)
            g->filterChildren.append(r);
    }
    return g;
}

inline QVariantMap rule(const char *key, const QVariant &state = true)
{
    return QVariantMap { { QStringLiteral("key"), QString::fromLatin1(key) },
        { QStringLiteral("state"), state } };
}

inline QVariantMap choiceRule(const char *key, bool markWithEarlier)
{
    QVariantMap r = rule(key);
    r.insert(QStringLiteral("isDropDown"), true);
    r.insert(QStringLiteral("isMarkWithEarlier"), markWithEarlier);
    return r;
}

} // namespace AutoMarkTestRecords
