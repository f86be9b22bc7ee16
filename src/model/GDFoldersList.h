// A node of the Google Drive folder tree, and the Drive file resource it stands for.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The fields of a Drive file resource that the program reads. Every field may be missing in a
// listing, hence the optionals.
struct DriveFile {
    struct Location {
        std::optional<double> latitude;
        std::optional<double> longitude;
        std::optional<double> altitude;
    };
    struct ImageMediaMetadata {
        std::optional<QString> cameraMake;
        std::optional<QString> cameraModel;
        std::optional<QString> colorSpace;
        std::optional<QString> lens;
        std::optional<QString> sensor;
        std::optional<QString> exposureMode;
        std::optional<QString> meteringMode;
        std::optional<double> exposureBias;
        std::optional<double> focalLength;
        std::optional<int> isoSpeed;
        std::optional<double> exposureTime;
        std::optional<bool> flashUsed;
        std::optional<int> width;
        std::optional<int> height;
        std::optional<Location> location;
    };

    std::optional<QString> identifier;
    std::optional<QString> name;
    std::optional<QString> mimeType;
    std::optional<QString> thumbnailLink;
    std::optional<QString> md5Checksum;
    std::optional<QString> fileExtension;
    std::optional<std::int64_t> size;
    QDateTime modifiedTime;
    QDateTime createdTime;
    QStringList parents;
    std::optional<ImageMediaMetadata> imageMediaMetadata;
};

class GDFoldersList
{
public:
    std::shared_ptr<DriveFile> driveFile() const { return m_driveFile; }
    void setDriveFile(std::shared_ptr<DriveFile> driveFile) { m_driveFile = std::move(driveFile); }
    QString folderAbsPath() const { return m_folderAbsPath; }
    void setFolderAbsPath(const QString &path) { m_folderAbsPath = path; }
    QString folderName() const { return m_folderName; }
    void setFolderName(const QString &name) { m_folderName = name; }
    QString folderId() const { return m_folderId; }
    void setFolderId(const QString &identifier) { m_folderId = identifier; }
    QList<std::shared_ptr<GDFoldersList>> &children() { return m_children; }
    const QList<std::shared_ptr<GDFoldersList>> &children() const { return m_children; }
    void setChildren(const QList<std::shared_ptr<GDFoldersList>> &children) { m_children = children; }
    bool isExpandable() const { return m_isExpandable; }
    void setIsExpandable(bool expandable) { m_isExpandable = expandable; }

private:
    // A new node already holds an (empty) file resource, never an absent one.
    std::shared_ptr<DriveFile> m_driveFile = std::make_shared<DriveFile>();
    QString m_folderAbsPath;
    QString m_folderName;
    QString m_folderId;
    QList<std::shared_ptr<GDFoldersList>> m_children;
    bool m_isExpandable = true;
};
