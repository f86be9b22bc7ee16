// Drive v3 file resources and file lists read from their JSON answers. Every field may be
// missing; sizes arrive as 64-bit integers written as strings, and plain numbers are taken too.
#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include "model/GDFoldersList.h"

struct DriveFileList {
    QString kind;
    // Empty on the last page.
    QString nextPageToken;
    QList<std::shared_ptr<DriveFile>> files;
};

class DriveFileJson
{
public:
    static std::shared_ptr<DriveFile> parseFile(const QJsonObject &object);
    // Nothing when the body is not a JSON object with a "files" array.
    static std::optional<DriveFileList> parseFileList(const QByteArray &body);
    // "1234" and 1234 alike; nothing for anything else or a negative size.
    static std::optional<std::int64_t> parseSize(const QJsonValue &value);

    // What holding a parsed file costs: the resource, its control block and its texts.
    static qint64 heldBytes(const DriveFile &file);

    static constexpr const char *kFolderMimeType = "application/vnd.google-apps.folder";
    static bool isFolder(const DriveFile &file);
};
