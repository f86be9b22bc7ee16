// The album store in the support folder.
#include "platform/LocalAlbumStore.h"

#include <QFileInfo>

#include "platform/AppFolders.h"
#include "platform/PropertyList.h"

LocalAlbumStore::LocalAlbumStore(QString file)
    : m_file(file.isEmpty() ? defaultFilePath() : std::move(file))
{
}

QString LocalAlbumStore::defaultFilePath()
{
    return AppFolders::supportFolder() + QStringLiteral("/marked-albums.plist");
}

bool LocalAlbumStore::isRunning() const
{
    const QString folder = QFileInfo(m_file).absolutePath();
    return AppFolders::ensureFolder(folder) && QFileInfo(folder).isWritable();
}

bool LocalAlbumStore::openLibrary(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_library = path;
    return isRunning();
}

QVariantMap LocalAlbumStore::read() const
{
    return PropertyList::readFile(m_file).value_or(QVariant()).toMap();
}

bool LocalAlbumStore::write(const QVariantMap &albums) const
{
    return isRunning() && PropertyList::writeFile(m_file, albums);
}

std::optional<QStringList> LocalAlbumStore::containerNames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!isRunning())
        return std::nullopt;
    return read().value(m_library).toMap().keys();
}

AlbumScriptResult LocalAlbumStore::createAlbum(const QString &name, const QString &)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QVariantMap albums = read();
    QVariantMap library = albums.value(m_library).toMap();
    if (!library.contains(name))
        library.insert(name, QVariantList());
    albums.insert(m_library, library);
    return { write(albums), std::nullopt };
}

QString LocalAlbumStore::mediaItemReference(const QString &id) const
{
    // Without the application the identifier itself is the reference.
    return id;
}

void LocalAlbumStore::describeItem(const QString &reference, const QString &pathInLibrary)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_itemPaths.insert(reference, pathInLibrary);
}

QStringList LocalAlbumStore::addToAlbum(const QString &name, const QStringList &references, const QString &)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QVariantMap albums = read();
    QVariantMap library = albums.value(m_library).toMap();
    if (!library.contains(name))
        return {};
    QVariantList items = library.value(name).toList();
    QStringList present = identifiers(items);
    QStringList added;
    for (const QString &reference : references) {
        if (reference.isEmpty())
            continue;
        added.append(reference);
        if (present.contains(reference))
            continue;
        present.append(reference);
        QVariantMap item { { QStringLiteral("identifier"), reference } };
        if (const QString path = m_itemPaths.value(reference); !path.isEmpty())
            item.insert(QStringLiteral("path"), path);
        items.append(item);
    }
    library.insert(name, items);
    albums.insert(m_library, library);
    return write(albums) ? added : QStringList();
}

QStringList LocalAlbumStore::albumItems(const QString &library, const QString &name) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return identifiers(read().value(library).toMap().value(name).toList());
}

QStringList LocalAlbumStore::identifiers(const QVariantList &items)
{
    QStringList ids;
    for (const QVariant &item : items)
        ids.append(item.typeId() == QMetaType::QString
                ? item.toString()
                : item.toMap().value(QStringLiteral("identifier")).toString());
    return ids;
}
