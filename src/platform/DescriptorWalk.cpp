#include "platform/DescriptorWalk.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <vector>

#include <QList>

#include "platform/OwnFolderWrites.h"

namespace
{

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Deeper than any folder of ours gets; a deeper tree is left rather than exhausting descriptors.
constexpr int kMaxDepth = 128;

// The folder `name` in `parent` when it is the very folder `expected` describes.
Descriptor openSame(int parent, const char *name, const struct stat &expected)
{
    Descriptor folder(::openat(parent, name, kFolderFlags));
    struct stat opened {
    };
    if (!folder.isValid() || ::fstat(folder.get(), &opened) != 0 || opened.st_dev != expected.st_dev
        || opened.st_ino != expected.st_ino)
        return {};
    return folder;
}

std::vector<QByteArray> namesIn(int folder)
{
    std::vector<QByteArray> names;
    // fdopendir() takes the descriptor it is given, but only when it succeeds; it gets a copy of its own.
    Descriptor copy(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    DIR *listing = copy.isValid() ? ::fdopendir(copy.get()) : nullptr;
    if (!listing)
        return names;
    copy.release();
    ::rewinddir(listing);
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(listing);
    return names;
}

// Where an entry lies: its file system, and the mount it is reached through (a bind mount of a
// folder of the same file system has the device of its source but a mount of its own).
struct Mount {
    dev_t device = 0;
    quint64 mountId = 0;
    bool operator==(const Mount &) const = default;
};

Mount mountOf(int folder, const char *name, const struct stat &st)
{
    struct statx extended {
    };
    const int flags = AT_SYMLINK_NOFOLLOW | (*name ? 0 : AT_EMPTY_PATH);
    const bool known = ::statx(folder, name, flags, STATX_MNT_ID, &extended) == 0
        && (extended.stx_mask & STATX_MNT_ID) != 0;
    return { st.st_dev, known ? quint64(extended.stx_mnt_id) : 0 };
}

bool removeIn(int parent, const QByteArray &name, const Mount &mount, int depth)
{
    // A long removal in a folder of the program's own goes on while each entry answers.
    OwnFolderWrites::stillAnswering();
    struct stat st {
    };
    if (::fstatat(parent, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(parent, name.constData(), 0) == 0 || errno == ENOENT;
    if (!(mountOf(parent, name.constData(), st) == mount) || depth > kMaxDepth)
        return false;
    const Descriptor folder = openSame(parent, name.constData(), st);
    if (!folder.isValid())
        return false;
    bool emptied = true;
    for (const QByteArray &inner : namesIn(folder.get()))
        emptied = removeIn(folder.get(), inner, mount, depth + 1) && emptied;
    return emptied && (::unlinkat(parent, name.constData(), AT_REMOVEDIR) == 0 || errno == ENOENT);
}

} // namespace

bool DescriptorWalk::isPlainName(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') && !name.contains('\0');
}

Descriptor DescriptorWalk::openFolder(int from, const QByteArray &relative)
{
    Descriptor folder(::fcntl(from, F_DUPFD_CLOEXEC, 0));
    for (const QByteArray &step : relative.split('/')) {
        if (!folder.isValid())
            break;
        if (!isPlainName(step)) {
            errno = EINVAL;
            return {};
        }
        folder = Descriptor(::openat(folder.get(), step.constData(), kFolderFlags));
    }
    return folder;
}

bool DescriptorWalk::remove(int parent, const QByteArray &name)
{
    struct stat holder {
    };
    if (!isPlainName(name) || ::fstat(parent, &holder) != 0)
        return false;
    return removeIn(parent, name, mountOf(parent, "", holder), 0);
}
