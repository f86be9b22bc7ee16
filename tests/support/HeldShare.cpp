#include "support/HeldShare.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fuse.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include <QFile>

namespace
{

// Looked-up names stay valid for long, so that a change held on a folder never holds a look at a
// name already known; attributes are asked for each time.
constexpr uint64_t kEntrySeconds = 3600;
constexpr uint32_t kMaxWrite = 128 * 1024;

fuse_attr attrOf(const struct stat &st)
{
    fuse_attr a {};
    a.ino = st.st_ino;
    a.size = uint64_t(st.st_size);
    a.blocks = uint64_t(st.st_blocks);
    a.atime = uint64_t(st.st_atim.tv_sec);
    a.mtime = uint64_t(st.st_mtim.tv_sec);
    a.ctime = uint64_t(st.st_ctim.tv_sec);
    a.atimensec = uint32_t(st.st_atim.tv_nsec);
    a.mtimensec = uint32_t(st.st_mtim.tv_nsec);
    a.ctimensec = uint32_t(st.st_ctim.tv_nsec);
    a.mode = st.st_mode;
    a.nlink = uint32_t(st.st_nlink);
    a.uid = st.st_uid;
    a.gid = st.st_gid;
    a.rdev = uint32_t(st.st_rdev);
    a.blksize = uint32_t(st.st_blksize);
    return a;
}

bool isChange(uint32_t opcode, const char *body)
{
    switch (opcode) {
    case FUSE_SETATTR:
    case FUSE_MKDIR:
    case FUSE_UNLINK:
    case FUSE_RMDIR:
    case FUSE_RENAME:
    case FUSE_RENAME2:
    case FUSE_CREATE:
    case FUSE_WRITE:
        return true;
    case FUSE_OPEN:
        return (reinterpret_cast<const fuse_open_in *>(body)->flags & O_ACCMODE) != O_RDONLY;
    default:
        return false;
    }
}

} // namespace

struct HeldShare::Server {
    int device = -1;
    std::string backing;
    std::mutex mutex;
    // By node: its path below `backing` ("" for the top); by path, its node.
    std::vector<std::string> paths { "", "" };
    std::unordered_map<std::string, uint64_t> nodes { { "", FUSE_ROOT_ID } };
    std::unordered_map<uint64_t, int> files;
    std::unordered_map<uint64_t, std::vector<std::pair<std::string, dirent>>> folders;
    uint64_t nextHandle = 1;
    bool holding = false;
    std::vector<std::vector<char>> heldRequests;

    std::string real(uint64_t node) const { return backing + "/" + paths.at(node); }
    std::string child(uint64_t node, const char *name) const
    {
        return paths.at(node).empty() ? std::string(name) : paths.at(node) + "/" + name;
    }

    void reply(uint64_t unique, int error, const void *data = nullptr, size_t size = 0)
    {
        fuse_out_header out { uint32_t(sizeof(fuse_out_header) + (error ? 0 : size)), error, unique };
        iovec parts[2] = { { &out, sizeof out }, { const_cast<void *>(data), error ? 0 : size } };
        (void)::writev(device, parts, 2);
    }

    // The node of the path `path` below the top, made when new.
    uint64_t nodeOf(const std::string &path)
    {
        const auto [at, added] = nodes.try_emplace(path, paths.size());
        if (added)
            paths.push_back(path);
        return at->second;
    }

    void replyEntry(uint64_t unique, const std::string &path)
    {
        struct stat st {
        };
        if (::lstat((backing + "/" + path).c_str(), &st) != 0) {
            reply(unique, -errno);
            return;
        }
        fuse_entry_out entry {};
        entry.nodeid = nodeOf(path);
        entry.entry_valid = kEntrySeconds;
        entry.attr = attrOf(st);
        reply(unique, 0, &entry, sizeof entry);
    }

    void replyAttr(uint64_t unique, uint64_t node)
    {
        struct stat st {
        };
        if (::lstat(real(node).c_str(), &st) != 0) {
            reply(unique, -errno);
            return;
        }
        fuse_attr_out out {};
        out.attr = attrOf(st);
        reply(unique, 0, &out, sizeof out);
    }

    void renamed(const std::string &from, const std::string &to)
    {
        for (uint64_t node = 1; node < paths.size(); ++node) {
            std::string &path = paths[node];
            if (path == from || path.rfind(from + "/", 0) == 0) {
                nodes.erase(path);
                path = to + path.substr(from.size());
                nodes[path] = node;
            }
        }
    }

    void setAttributes(uint64_t unique, uint64_t node, const fuse_setattr_in &in)
    {
        const std::string path = real(node);
        int failed = 0;
        if ((in.valid & FATTR_MODE) && ::chmod(path.c_str(), in.mode & 07777) != 0)
            failed = errno;
        if ((in.valid & FATTR_SIZE) && ::truncate(path.c_str(), off_t(in.size)) != 0)
            failed = errno;
        if (in.valid & (FATTR_ATIME | FATTR_MTIME)) {
            const auto time = [&](uint32_t set, uint32_t now, uint64_t sec, uint32_t nsec) {
                return timespec { time_t(sec),
                    (in.valid & now)       ? long(UTIME_NOW)
                        : (in.valid & set) ? long(nsec)
                                           : long(UTIME_OMIT) };
            };
            const timespec times[2] = { time(FATTR_ATIME, FATTR_ATIME_NOW, in.atime, in.atimensec),
                time(FATTR_MTIME, FATTR_MTIME_NOW, in.mtime, in.mtimensec) };
            if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
                failed = errno;
        }
        if (failed)
            reply(unique, -failed);
        else
            replyAttr(unique, node);
    }

    void open(uint64_t unique, int fd)
    {
        if (fd < 0) {
            reply(unique, -errno);
            return;
        }
        fuse_open_out out {};
        out.fh = nextHandle++;
        files[out.fh] = fd;
        reply(unique, 0, &out, sizeof out);
    }

    void create(uint64_t unique, uint64_t node, const fuse_create_in &in, const char *name)
    {
        const std::string path = child(node, name);
        const int fd = ::open((backing + "/" + path).c_str(), int(in.flags) | O_CREAT | O_CLOEXEC, in.mode);
        if (fd < 0) {
            reply(unique, -errno);
            return;
        }
        struct stat st {
        };
        ::fstat(fd, &st);
        struct {
            fuse_entry_out entry;
            fuse_open_out open;
        } out {};
        out.entry.nodeid = nodeOf(path);
        out.entry.entry_valid = kEntrySeconds;
        out.entry.attr = attrOf(st);
        out.open.fh = nextHandle++;
        files[out.open.fh] = fd;
        reply(unique, 0, &out, sizeof out);
    }

    void rename(uint64_t unique, uint64_t node, uint64_t newNode, unsigned flags, const char *names)
    {
        const std::string from = child(node, names);
        const std::string to = child(newNode, names + std::strlen(names) + 1);
        if (::renameat2(
                AT_FDCWD, (backing + "/" + from).c_str(), AT_FDCWD, (backing + "/" + to).c_str(), flags)
            != 0) {
            reply(unique, -errno);
            return;
        }
        renamed(from, to);
        reply(unique, 0);
    }

    void openFolder(uint64_t unique, uint64_t node)
    {
        DIR *folder = ::opendir(real(node).c_str());
        if (!folder) {
            reply(unique, -errno);
            return;
        }
        fuse_open_out out {};
        out.fh = nextHandle++;
        auto &entries = folders[out.fh];
        while (const dirent *e = ::readdir(folder))
            entries.emplace_back(e->d_name, *e);
        ::closedir(folder);
        reply(unique, 0, &out, sizeof out);
    }

    void readFolder(uint64_t unique, const fuse_read_in &in)
    {
        std::vector<char> out;
        const auto &entries = folders[in.fh];
        for (size_t i = size_t(in.offset); i < entries.size(); ++i) {
            const std::string &name = entries[i].first;
            const size_t size = FUSE_DIRENT_ALIGN(FUSE_NAME_OFFSET + name.size());
            if (out.size() + size > in.size)
                break;
            std::vector<char> one(size, 0);
            auto *d = reinterpret_cast<fuse_dirent *>(one.data());
            d->ino = entries[i].second.d_ino;
            d->off = i + 1;
            d->namelen = uint32_t(name.size());
            d->type = entries[i].second.d_type;
            std::memcpy(d->name, name.data(), name.size());
            out.insert(out.end(), one.begin(), one.end());
        }
        reply(unique, 0, out.data(), out.size());
    }

    void statfs(uint64_t unique)
    {
        struct statvfs st {
        };
        if (::statvfs(backing.c_str(), &st) != 0) {
            reply(unique, -errno);
            return;
        }
        fuse_statfs_out out {};
        out.st = { st.f_blocks, st.f_bfree, st.f_bavail, st.f_files, st.f_ffree, uint32_t(st.f_bsize),
            uint32_t(st.f_namemax), uint32_t(st.f_frsize), 0, {} };
        reply(unique, 0, &out, sizeof out);
    }

    void handle(const std::vector<char> &request)
    {
        const auto &h = *reinterpret_cast<const fuse_in_header *>(request.data());
        const char *body = request.data() + sizeof(fuse_in_header);
        const uint64_t node = h.nodeid;
        switch (h.opcode) {
        case FUSE_INIT: {
            fuse_init_out out {};
            out.major = FUSE_KERNEL_VERSION;
            out.minor = FUSE_KERNEL_MINOR_VERSION;
            out.max_readahead = reinterpret_cast<const fuse_init_in *>(body)->max_readahead;
            out.max_background = 16;
            out.congestion_threshold = 12;
            out.max_write = kMaxWrite;
            out.time_gran = 1;
            reply(h.unique, 0, &out, sizeof out);
            return;
        }
        case FUSE_LOOKUP:
            replyEntry(h.unique, child(node, body));
            return;
        case FUSE_FORGET:
        case FUSE_BATCH_FORGET:
        case FUSE_INTERRUPT:
        case FUSE_DESTROY:
            return;
        case FUSE_GETATTR:
            replyAttr(h.unique, node);
            return;
        case FUSE_SETATTR:
            setAttributes(h.unique, node, *reinterpret_cast<const fuse_setattr_in *>(body));
            return;
        case FUSE_READLINK: {
            char target[PATH_MAX];
            const ssize_t n = ::readlink(real(node).c_str(), target, sizeof target);
            if (n < 0)
                reply(h.unique, -errno);
            else
                reply(h.unique, 0, target, size_t(n));
            return;
        }
        case FUSE_MKDIR: {
            const auto &in = *reinterpret_cast<const fuse_mkdir_in *>(body);
            const std::string path = child(node, body + sizeof in);
            if (::mkdir((backing + "/" + path).c_str(), in.mode & ~in.umask) != 0)
                reply(h.unique, -errno);
            else
                replyEntry(h.unique, path);
            return;
        }
        case FUSE_UNLINK:
        case FUSE_RMDIR: {
            const std::string path = backing + "/" + child(node, body);
            const int done = h.opcode == FUSE_UNLINK ? ::unlink(path.c_str()) : ::rmdir(path.c_str());
            reply(h.unique, done == 0 ? 0 : -errno);
            return;
        }
        case FUSE_RENAME:
            rename(h.unique, node, reinterpret_cast<const fuse_rename_in *>(body)->newdir, 0,
                body + sizeof(fuse_rename_in));
            return;
        case FUSE_RENAME2: {
            const auto &in = *reinterpret_cast<const fuse_rename2_in *>(body);
            rename(h.unique, node, in.newdir, in.flags, body + sizeof in);
            return;
        }
        case FUSE_OPEN: {
            const int flags = int(reinterpret_cast<const fuse_open_in *>(body)->flags) & ~(O_CREAT | O_EXCL);
            open(h.unique, ::open(real(node).c_str(), flags | O_CLOEXEC));
            return;
        }
        case FUSE_CREATE: {
            const auto &in = *reinterpret_cast<const fuse_create_in *>(body);
            create(h.unique, node, in, body + sizeof in);
            return;
        }
        case FUSE_READ: {
            const auto &in = *reinterpret_cast<const fuse_read_in *>(body);
            std::vector<char> data(in.size);
            const ssize_t n = ::pread(files[in.fh], data.data(), in.size, off_t(in.offset));
            reply(h.unique, n < 0 ? -errno : 0, data.data(), size_t(std::max<ssize_t>(n, 0)));
            return;
        }
        case FUSE_WRITE: {
            const auto &in = *reinterpret_cast<const fuse_write_in *>(body);
            const ssize_t n = ::pwrite(files[in.fh], body + sizeof in, in.size, off_t(in.offset));
            fuse_write_out out { uint32_t(std::max<ssize_t>(n, 0)), 0 };
            reply(h.unique, n < 0 ? -errno : 0, &out, sizeof out);
            return;
        }
        case FUSE_RELEASE: {
            const uint64_t fh = reinterpret_cast<const fuse_release_in *>(body)->fh;
            ::close(files[fh]);
            files.erase(fh);
            reply(h.unique, 0);
            return;
        }
        case FUSE_OPENDIR:
            openFolder(h.unique, node);
            return;
        case FUSE_READDIR:
            readFolder(h.unique, *reinterpret_cast<const fuse_read_in *>(body));
            return;
        case FUSE_RELEASEDIR:
            folders.erase(reinterpret_cast<const fuse_release_in *>(body)->fh);
            reply(h.unique, 0);
            return;
        case FUSE_STATFS:
            statfs(h.unique);
            return;
        case FUSE_ACCESS:
        case FUSE_FLUSH:
        case FUSE_FSYNC:
        case FUSE_FSYNCDIR:
            reply(h.unique, 0);
            return;
        default:
            reply(h.unique, -ENOSYS);
        }
    }

    // Until the share is taken away.
    void serve()
    {
        std::vector<char> buffer(kMaxWrite + 64 * 1024);
        for (;;) {
            const ssize_t n = ::read(device, buffer.data(), buffer.size());
            if (n < 0 && (errno == EINTR || errno == ENOENT || errno == EAGAIN))
                continue;
            if (n < ssize_t(sizeof(fuse_in_header)))
                return;
            std::vector<char> request(buffer.begin(), buffer.begin() + n);
            std::lock_guard<std::mutex> lock(mutex);
            const auto &h = *reinterpret_cast<const fuse_in_header *>(request.data());
            if (holding && isChange(h.opcode, request.data() + sizeof(fuse_in_header)))
                heldRequests.push_back(std::move(request));
            else
                handle(request);
        }
    }
};

HeldShare::HeldShare(const QString &backing, const QString &point)
    : m_server(std::make_shared<Server>())
    , m_point(point)
{
    m_server->backing = QFile::encodeName(backing).toStdString();
    m_server->device = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (m_server->device < 0)
        return;
    const std::string options
        = "fd=" + std::to_string(m_server->device) + ",rootmode=40000,user_id=0,group_id=0";
    if (::mount("held", QFile::encodeName(point).constData(), "fuse", 0, options.c_str()) != 0) {
        ::close(m_server->device);
        m_server->device = -1;
        return;
    }
    // The server owns what it serves: it may outlive this object until the kernel lets it go.
    std::thread([server = m_server] { server->serve(); }).detach();
}

HeldShare::~HeldShare()
{
    if (!isMounted())
        return;
    release();
    ::umount2(QFile::encodeName(m_point).constData(), MNT_DETACH);
}

bool HeldShare::isMounted() const
{
    return m_server->device >= 0;
}

void HeldShare::hold()
{
    std::lock_guard<std::mutex> lock(m_server->mutex);
    m_server->holding = true;
}

void HeldShare::release()
{
    std::lock_guard<std::mutex> lock(m_server->mutex);
    m_server->holding = false;
    for (const std::vector<char> &request : std::exchange(m_server->heldRequests, {}))
        m_server->handle(request);
}

int HeldShare::held() const
{
    std::lock_guard<std::mutex> lock(m_server->mutex);
    return int(m_server->heldRequests.size());
}
