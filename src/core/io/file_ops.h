#pragma once
// The system calls through which the document touches files. The real ones go straight to
// the kernel; tests put a failing set in their place to prove that a write failing at any
// call leaves the executable whole.

#include <sys/stat.h>
#include <sys/types.h>

namespace vorlan {

class FileOps {
public:
    virtual ~FileOps() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual int close(int fd);
    virtual ssize_t pread(int fd, void* buf, size_t count, off_t offset);
    virtual ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset);
    virtual int fsync(int fd);
    virtual int flock(int fd, int operation);
    virtual int fstat(int fd, struct stat* st);
    virtual int stat(const char* path, struct stat* st);
    virtual int lstat(const char* path, struct stat* st);
    virtual int unlink(const char* path);
    virtual int link(const char* from, const char* to);
    virtual int rename(const char* from, const char* to);
    // Renames only when nothing has the new name (renameat2 RENAME_NOREPLACE); fails with
    // EEXIST otherwise, and with EINVAL where the file system cannot do it.
    virtual int renameNoReplace(const char* from, const char* to);
    // Whether this process may do `mode` (W_OK, …) to `path`, by its effective user.
    virtual int access(const char* path, int mode);
};

// The kernel's calls, shared by every document.
FileOps& systemFileOps();

}  // namespace vorlan
