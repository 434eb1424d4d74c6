#pragma once
// The disc image held by one open descriptor from the check to the last write: the path is
// resolved to the real file first, opened without following a link, and before each phase
// the path must still name that same file with the same size. A file renamed or swapped
// into the image's place is never written.

#include <filesystem>
#include <stdexcept>
#include <string>

#include "io/file_ops.h"
#include "io/posix_file.h"

namespace vorlan {

// Why the image cannot be used; `changed`: the image was written in part before it.
class ImageRefusal : public std::runtime_error {
public:
    explicit ImageRefusal(const std::string& what, bool changed = false)
        : std::runtime_error(what), changed_(changed) {}
    bool changed() const { return changed_; }

private:
    bool changed_;
};

class ImageFile {
public:
    // Throws ImageRefusal (naming `given`, the path as the user gave it).
    ImageFile(FileOps& ops, const std::filesystem::path& given, bool write);

    const std::filesystem::path& given() const { return given_; }
    const std::filesystem::path& real() const { return real_; }
    PosixFile& file() { return file_; }
    const FileIdentity& identity() const { return identity_; }
    std::uint64_t size() const { return identity_.size; }

    // Takes the image's advisory lock for the rest of the handle's life; throws when
    // another program keeps it.
    void lock(bool exclusive);

    // Whether the path still names the file opened, with the size it had.
    bool stillSame();

private:
    FileOps& ops_;
    std::filesystem::path given_;
    std::filesystem::path real_;
    PosixFile file_;
    FileIdentity identity_;
};

}  // namespace vorlan
