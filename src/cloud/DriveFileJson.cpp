#include "cloud/DriveFileJson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "cloud/ListingHoldings.h"

namespace
{

std::optional<QString> stringField(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<double> numberField(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isDouble())
        return value.toDouble();
    if (value.isString()) {
        bool ok = false;
        const double number = value.toString().toDouble(&ok);
        if (ok)
            return number;
    }
    return std::nullopt;
}

std::optional<int> intField(const QJsonObject &object, const char *key)
{
    const std::optional<double> number = numberField(object, key);
    if (!number)
        return std::nullopt;
    return int(*number);
}

QDateTime timeField(const QJsonObject &object, const char *key)
{
    return QDateTime::fromString(object.value(QLatin1String(key)).toString(), Qt::ISODateWithMs);
}

DriveFile::ImageMediaMetadata parseMetadata(const QJsonObject &object)
{
    DriveFile::ImageMediaMetadata meta;
    meta.cameraMake = stringField(object, "cameraMake");
    meta.cameraModel = stringField(object, "cameraModel");
    meta.colorSpace = stringField(object, "colorSpace");
    meta.lens = stringField(object, "lens");
    meta.sensor = stringField(object, "sensor");
    meta.exposureMode = stringField(object, "exposureMode");
    meta.meteringMode = stringField(object, "meteringMode");
    meta.exposureBias = numberField(object, "exposureBias");
    meta.focalLength = numberField(object, "focalLength");
    meta.isoSpeed = intField(object, "isoSpeed");
    meta.exposureTime = numberField(object, "exposureTime");
    const QJsonValue flash = object.value(QLatin1String("flashUsed"));
    if (flash.isBool())
        meta.flashUsed = flash.toBool();
    meta.width = intField(object, "width");
    meta.height = intField(object, "height");
    const QJsonValue location = object.value(QLatin1String("location"));
    if (location.isObject()) {
        const QJsonObject place = location.toObject();
        meta.location = DriveFile::Location { numberField(place, "latitude"), numberField(place, "longitude"),
            numberField(place, "altitude") };
    }
    return meta;
}

} // namespace

std::optional<std::int64_t> DriveFileJson::parseSize(const QJsonValue &value)
{
    if (value.isString()) {
        bool ok = false;
        const qint64 size = value.toString().toLongLong(&ok);
        if (ok && size >= 0)
            return size;
        return std::nullopt;
    }
    if (value.isDouble()) {
        const double size = value.toDouble();
        // Beyond 2^53 a double no longer holds whole numbers exactly; such sizes come as strings.
        if (size >= 0 && size <= 9007199254740992.0)
            return std::int64_t(size);
    }
    return std::nullopt;
}

std::shared_ptr<DriveFile> DriveFileJson::parseFile(const QJsonObject &object)
{
    auto file = std::make_shared<DriveFile>();
    file->identifier = stringField(object, "id");
    file->name = stringField(object, "name");
    file->mimeType = stringField(object, "mimeType");
    file->thumbnailLink = stringField(object, "thumbnailLink");
    file->md5Checksum = stringField(object, "md5Checksum");
    file->fileExtension = stringField(object, "fileExtension");
    file->size = parseSize(object.value(QLatin1String("size")));
    file->modifiedTime = timeField(object, "modifiedTime");
    file->createdTime = timeField(object, "createdTime");
    for (const QJsonValue &parent : object.value(QLatin1String("parents")).toArray()) {
        if (parent.isString())
            file->parents.append(parent.toString());
    }
    const QJsonValue meta = object.value(QLatin1String("imageMediaMetadata"));
    if (meta.isObject())
        file->imageMediaMetadata = parseMetadata(meta.toObject());
    return file;
}

std::optional<DriveFileList> DriveFileJson::parseFileList(const QByteArray &body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue files = object.value(QLatin1String("files"));
    if (!files.isArray())
        return std::nullopt;
    DriveFileList list;
    list.kind = object.value(QLatin1String("kind")).toString();
    list.nextPageToken = object.value(QLatin1String("nextPageToken")).toString();
    for (const QJsonValue &entry : files.toArray()) {
        if (entry.isObject())
            list.files.append(parseFile(entry.toObject()));
    }
    return list;
}

bool DriveFileJson::isFolder(const DriveFile &file)
{
    return file.mimeType.value_or(QString()) == QLatin1String(kFolderMimeType);
}

qint64 DriveFileJson::heldBytes(const DriveFile &file)
{
    qint64 bytes = qint64(sizeof(DriveFile)) + 16;
    const auto text = [&bytes](const std::optional<QString> &value) {
        bytes += value ? ListingHoldings::textBytes(*value) : 0;
    };
    for (const std::optional<QString> *value : { &file.identifier, &file.name, &file.mimeType,
             &file.thumbnailLink, &file.md5Checksum, &file.fileExtension })
        text(*value);
    bytes += file.parents.isEmpty() ? 0 : 16 + qint64(file.parents.capacity() * sizeof(QString));
    for (const QString &parent : file.parents)
        bytes += ListingHoldings::textBytes(parent);
    if (const auto &meta = file.imageMediaMetadata) {
        for (const std::optional<QString> *value : { &meta->cameraMake, &meta->cameraModel, &meta->colorSpace,
                 &meta->lens, &meta->sensor, &meta->exposureMode, &meta->meteringMode })
            text(*value);
    }
    return bytes;
}
