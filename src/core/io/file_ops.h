#pragma once
// Every system call through which the program touches files. The real ones go straight to
// the kernel; tests put failing or hooked ones in their place to prove that a write failing
// at any call leaves the executable whole.
//
// This folder (core/io) is the only part of the program that speaks to the operating system:
// the rest of the core sees paths, descriptors as numbers, and the neutral FileStatus. A port
// to another system (Windows: CreateFileW, LockFileEx, MoveFileExW with write-through, a
// child process instead of fork) replaces the bodies of this folder only.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace vorlan {

// Which file a path names: it changes when another file is put in its place.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    bool regular = false;
    bool operator==(const FileIdentity&) const = default;
};

// What the system says of a file (for a link, of the link itself when asked so).
struct FileStatus {
    enum class Type { Regular, Directory, Link, Other };
    Type type = Type::Other;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::uint64_t links = 0;    // names the file has
    bool ownedByUser = false;   // owned by the user the program runs as
    unsigned permissions = 0;   // read/write/execute for owner, group, others (as 0754)
    std::int64_t modified = 0;  // when the content last changed, in nanoseconds since 1970

    bool regular() const { return type == Type::Regular; }
    FileIdentity identity() const { return {device, inode, size, regular()}; }
    bool sameFile(const FileIdentity& other) const {
        return device == other.device && inode == other.inode;
    }
};

// How a file is opened (the descriptor is the system's number for it).
enum class OpenMode {
    Read,
    ReadWrite,
    CreateNew,      // made now, never one that is there (nor what a link there names)
    CreatePrivate,  // the same, readable and writable by its owner only
    Folder,         // a folder, to flush or lock
};

class FileOps {
public:
    virtual ~FileOps() = default;
    // -1 with errno set on failure, as the system's calls. `followLinks` false refuses a
    // link in the last part of the path (ELOOP). Never blocks on a pipe or device.
    virtual int open(const std::filesystem::path& path, OpenMode mode, bool followLinks);
    virtual int close(int fd);
    virtual std::ptrdiff_t pread(int fd, void* buf, std::size_t count, std::uint64_t offset);
    virtual std::ptrdiff_t pwrite(int fd, const void* buf, std::size_t count, std::uint64_t offset);
    virtual int fsync(int fd);
    // The file's advisory lock, without waiting: -1 with EWOULDBLOCK while another holds it.
    virtual int lock(int fd, bool exclusive);
    virtual int fstat(int fd, FileStatus& st);
    virtual int stat(const std::filesystem::path& path, FileStatus& st);
    virtual int lstat(const std::filesystem::path& path, FileStatus& st);
    virtual int unlink(const std::filesystem::path& path);
    virtual int link(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual int rename(const std::filesystem::path& from, const std::filesystem::path& to);
    // Renames only when nothing has the new name; fails with EEXIST otherwise, and with
    // EINVAL where the file system cannot do it.
    virtual int renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);
    // Whether the user the program runs as may create and remove files in `folder`.
    virtual int mayWriteIn(const std::filesystem::path& folder);
};

// The kernel's calls, shared by every document.
FileOps& systemFileOps();

}  // namespace vorlan
