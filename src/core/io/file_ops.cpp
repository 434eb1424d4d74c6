#include "io/file_ops.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlan {

namespace {

FileStatus statusOf(const struct stat& st) {
    FileStatus s;
    s.type = S_ISREG(st.st_mode)   ? FileStatus::Type::Regular
             : S_ISDIR(st.st_mode) ? FileStatus::Type::Directory
             : S_ISLNK(st.st_mode) ? FileStatus::Type::Link
                                   : FileStatus::Type::Other;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.links = static_cast<std::uint64_t>(st.st_nlink);
    s.ownedByUser = st.st_uid == ::geteuid();
    s.permissions = static_cast<unsigned>(st.st_mode & 0777);
    s.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

int statusCall(int rc, const struct stat& st, FileStatus& out) {
    if (rc == 0)
        out = statusOf(st);
    return rc;
}

}  // namespace

int FileOps::open(const std::filesystem::path& path, OpenMode mode, bool followLinks) {
    int flags = O_RDONLY;
    unsigned permissions = 0;
    switch (mode) {
        case OpenMode::Read:
            break;
        case OpenMode::ReadWrite:
            flags = O_RDWR;
            break;
        case OpenMode::CreateNew:
            flags = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
            permissions = 0644;
            break;
        case OpenMode::CreatePrivate:
            flags = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
            permissions = 0600;
            break;
        case OpenMode::Folder:
            flags = O_RDONLY | O_DIRECTORY;
            break;
    }
    if (!followLinks)
        flags |= O_NOFOLLOW;
    // O_NONBLOCK: an open of a pipe or device does not wait; it is cleared once open.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, permissions);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
        const int fl = ::fcntl(fd, F_GETFL);
        if (fl >= 0)
            ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    }
    return fd;
}
int FileOps::close(int fd) {
    return ::close(fd);
}
std::ptrdiff_t FileOps::pread(int fd, void* buf, std::size_t count, std::uint64_t offset) {
    return ::pread(fd, buf, count, static_cast<off_t>(offset));
}
std::ptrdiff_t FileOps::pwrite(int fd, const void* buf, std::size_t count, std::uint64_t offset) {
    return ::pwrite(fd, buf, count, static_cast<off_t>(offset));
}
int FileOps::fsync(int fd) {
    return ::fsync(fd);
}
int FileOps::lock(int fd, bool exclusive) {
    return ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
}
int FileOps::fstat(int fd, FileStatus& out) {
    struct stat st {};
    return statusCall(::fstat(fd, &st), st, out);
}
int FileOps::stat(const std::filesystem::path& path, FileStatus& out) {
    struct stat st {};
    return statusCall(::stat(path.c_str(), &st), st, out);
}
int FileOps::lstat(const std::filesystem::path& path, FileStatus& out) {
    struct stat st {};
    return statusCall(::lstat(path.c_str(), &st), st, out);
}
int FileOps::unlink(const std::filesystem::path& path) {
    return ::unlink(path.c_str());
}
int FileOps::link(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::link(from.c_str(), to.c_str());
}
int FileOps::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str());
}
int FileOps::renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}
int FileOps::mayWriteIn(const std::filesystem::path& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS);
}

FileOps& systemFileOps() {
    static FileOps ops;
    return ops;
}

}  // namespace vorlan
