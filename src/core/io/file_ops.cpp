#include "io/file_ops.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>

namespace vorlan {

int FileOps::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags | O_CLOEXEC, mode);
}
int FileOps::close(int fd) {
    return ::close(fd);
}
ssize_t FileOps::pread(int fd, void* buf, size_t count, off_t offset) {
    return ::pread(fd, buf, count, offset);
}
ssize_t FileOps::pwrite(int fd, const void* buf, size_t count, off_t offset) {
    return ::pwrite(fd, buf, count, offset);
}
int FileOps::fsync(int fd) {
    return ::fsync(fd);
}
int FileOps::flock(int fd, int operation) {
    return ::flock(fd, operation);
}
int FileOps::fstat(int fd, struct stat* st) {
    return ::fstat(fd, st);
}
int FileOps::stat(const char* path, struct stat* st) {
    return ::stat(path, st);
}
int FileOps::lstat(const char* path, struct stat* st) {
    return ::lstat(path, st);
}
int FileOps::unlink(const char* path) {
    return ::unlink(path);
}
int FileOps::link(const char* from, const char* to) {
    return ::link(from, to);
}
int FileOps::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileOps::renameNoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int FileOps::access(const char* path, int mode) {
    return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS);
}

FileOps& systemFileOps() {
    static FileOps ops;
    return ops;
}

}  // namespace vorlan
