// What the removal asks of the photo-library application: whether it runs, opening a library, the
// names of its albums, making the album for marked duplicates and adding items to it. The scripts
// the application would run travel beside the structured arguments; an implementation may use
// either. Separate from the scan's reading of the library, which never needs the application.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

struct AlbumScriptResult {
    // The script returned a result.
    bool result = false;
    // The error number of a failed run; -1743 means the user has not allowed the control.
    std::optional<int> errorNumber;
};

class PhotosLibraryBridge
{
public:
    virtual ~PhotosLibraryBridge();

    // Implementations are called from the GUI thread and from the removal worker.
    virtual bool isRunning() const = 0;
    // Opens the library at `path` for the calls that follow; false when the application did not answer.
    virtual bool openLibrary(const QString &path) = 0;
    // The names of the albums and folders of the open library; none when the application does not answer.
    virtual std::optional<QStringList> containerNames() const = 0;
    virtual AlbumScriptResult createAlbum(const QString &name, const QString &script) = 0;
    // A reference to the media item with identifier `id`; empty when the library gives none.
    virtual QString mediaItemReference(const QString &id) const = 0;
    // Where the item of `reference` lies inside its library (a path relative to the library), for
    // an album a user reads in another program; called before the item is added. Ignored unless an
    // implementation keeps it.
    virtual void describeItem(const QString &reference, const QString &pathInLibrary);
    // Adds the items of `references` to the album `name`; the references actually added.
    virtual QStringList addToAlbum(const QString &name, const QStringList &references, const QString &script)
        = 0;
};
