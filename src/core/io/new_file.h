#pragma once
// Files the program makes beside the user's (backup, journal, saved image region, demo
// executable, exports), and the existing ones it is willing to trust.
//
// A new file is written under a fresh name of its own, created with O_CREAT|O_EXCL|O_NOFOLLOW
// so that no file planted there (a link to another file, a hard link to the executable) is
// ever opened, flushed, and only then given its name. Nothing is ever truncated in place.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "io/file_ops.h"
#include "io/posix_file.h"

namespace vorlan {

// Writes `bytes` as `target`, which must not exist: nothing at that name is replaced (a
// file, a link or a folder there fails with "该位置已有同名文件"). Throws IoError, leaving no
// file of its own behind.
void createNewFile(FileOps& ops, const std::filesystem::path& target,
                   std::span<const std::uint8_t> bytes);
// The same for a file made of parts one after the other (no copy of them is made).
using FileParts = std::span<const std::span<const std::uint8_t>>;
void createNewFile(FileOps& ops, const std::filesystem::path& target, FileParts parts);

// The same for a secret: the file is readable and writable by its owner only from the moment
// it exists (mode 0600), under its fresh name as under its own.
void createPrivateFile(FileOps& ops, const std::filesystem::path& target,
                       std::span<const std::uint8_t> bytes);

// The same as createNewFile, but replaces what `target` names: the entry itself, never a file that
// a link there points at.
void replaceFile(FileOps& ops, const std::filesystem::path& target,
                 std::span<const std::uint8_t> bytes);

// An existing side file opened for reading, when it can be trusted: a regular file with
// one link, owned by the user running the program, and not the file it lies beside.
struct SideFile {
    enum class State { Missing, Trusted, Refused };
    State state = State::Missing;
    std::optional<PosixFile> file;  // Trusted only
    std::uint64_t size = 0;
    std::string problem;  // Refused: what is wrong with it, naming it, in Chinese
};
// `owner` is the file the side file belongs to (the executable or the image), or nullptr.
SideFile openSideFile(FileOps& ops, const std::filesystem::path& path, const FileIdentity* owner);

// What is wrong with a side file of status `st` at `path`, or nothing (the rule above).
std::optional<std::string> sideFileProblem(const std::filesystem::path& path, const FileStatus& st,
                                           const FileIdentity* owner);

// Removes a side file of the program's own, flushing the folder; a missing one is fine.
// Throws IoError when it is there and cannot be removed: it is never emptied instead.
void removeSideFile(FileOps& ops, const std::filesystem::path& path);

// Removes what a run killed while making `target` left behind: files named like its fresh
// names ("<target>.….partial") that are plain files of this user's with one link. Call it
// holding the lock of the file `target` belongs to, so no run of this program is making one.
void removeLeftoverPartials(FileOps& ops, const std::filesystem::path& target);
// The same for every file name in `folder` that `isTarget` accepts (a kind of side file whose
// names carry a date), under the same rules and the same lock.
void removeLeftoverPartials(FileOps& ops, const std::filesystem::path& folder,
                            const std::function<bool(const std::string&)>& isTarget);

}  // namespace vorlan
