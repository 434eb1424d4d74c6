#pragma once
// One open file, closed when the object goes: positioned reads and writes that either move
// every byte or throw, flushing, identity, and an advisory lock that waits a bounded time.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/file_ops.h"

namespace vorlan {

// A system call that failed; the text says which file and why, in Chinese.
class IoError : public std::runtime_error {
public:
    IoError(const std::string& what, int error) : std::runtime_error(what), error_(error) {}
    int error() const { return error_; }

private:
    int error_;
};

// The text of an errno value, as the system gives it.
std::string systemMessage(int error);

class PosixFile {
public:
    // CreateNew makes a file that did not exist (never one that a link points at, never
    // emptying one that is there); see new_file.h for giving it its final name.
    // CreatePrivate does the same, readable and writable by its owner only from the start.
    enum class Mode { Read, ReadWrite, CreateNew, CreatePrivate };
    enum class Links { Follow, Refuse };
    // Throws IoError when the file cannot be opened. Links::Refuse fails (ELOOP) when the
    // path's last part is a symbolic link.
    PosixFile(FileOps& ops, const std::filesystem::path& path, Mode mode,
              Links links = Links::Follow);
    ~PosixFile();
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;
    PosixFile(PosixFile&& other) noexcept;

    const std::filesystem::path& path() const { return path_; }
    int fd() const { return fd_; }

    // Reads exactly out.size() bytes at `offset`; a file that ends first is an error.
    void readAt(std::uint64_t offset, std::span<std::uint8_t> out);
    std::vector<std::uint8_t> readAt(std::uint64_t offset, std::size_t count);
    // Writes every byte, carrying on after a short write.
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> in);
    void sync();
    FileIdentity identity();
    FileStatus status();

    // Takes the file's advisory lock, waiting up to `wait`; false when another program
    // held it all that time. The lock goes with the object.
    bool lock(bool exclusive, std::chrono::milliseconds wait);

    // Closes now, reporting a failed close (which may mean lost data on some file systems).
    void close();

private:
    FileOps* ops_;
    std::filesystem::path path_;
    int fd_ = -1;
};

// Flushes the folder entry of `path` (after creating, renaming or removing it there).
void syncFolderOf(FileOps& ops, const std::filesystem::path& path);

}  // namespace vorlan
