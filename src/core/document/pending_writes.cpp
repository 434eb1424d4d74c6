#include "document/pending_writes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "io/new_file.h"
#include "io/path_text.h"
#include "io/posix_file.h"
#include "io/system_facts.h"

namespace vorlan {

namespace {

constexpr char kMagic[] = "VORLANP1\n";
// A path of any system, with room to spare; a longer record is not ours.
constexpr std::uint64_t kMaxRecord = 64 * 1024;

std::filesystem::path recordPath(const FileIdentity& id) {
    const std::filesystem::path folder = pendingWritesFolder();
    if (folder.empty())
        return {};
    char name[40];
    std::snprintf(name, sizeof name, "%llx-%llx", static_cast<unsigned long long>(id.device),
                  static_cast<unsigned long long>(id.inode));
    return folder / name;
}

// The journal a record names, or nothing when it is not a record of ours.
std::optional<std::filesystem::path> readRecord(FileOps& ops, const std::filesystem::path& path) {
    SideFile side = openSideFile(ops, path, nullptr);
    if (side.state != SideFile::State::Trusted || side.size > kMaxRecord ||
        side.size <= sizeof kMagic - 1)
        return std::nullopt;
    const auto bytes = side.file->readAt(0, static_cast<std::size_t>(side.size));
    const std::string text(bytes.begin(), bytes.end());
    if (text.compare(0, sizeof kMagic - 1, kMagic) != 0)
        return std::nullopt;
    const std::string journal = text.substr(sizeof kMagic - 1);
    if (journal.find('\0') != std::string::npos)
        return std::nullopt;
    const std::filesystem::path p = textPath(journal);
    return p.is_absolute() ? std::optional(p) : std::nullopt;
}

}  // namespace

std::filesystem::path pendingWritesFolder() {
    const std::filesystem::path config = userConfigFolder();
    return config.empty() ? config : config / "vorlan" / "pending";
}

void recordPendingWrite(FileOps& ops, const FileIdentity& id,
                        const std::filesystem::path& journal) {
    const std::filesystem::path path = recordPath(id);
    if (path.empty())
        return;
    makePrivateFolders(path.parent_path());
    // One left by a write killed before its journal was named: nothing of it is pending.
    if (FileStatus st; ops.lstat(path, st) == 0)
        removeSideFile(ops, path);
    std::string text = kMagic + pathText(std::filesystem::absolute(journal));
    createPrivateFile(ops, path,
                      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void endPendingWrite(FileOps& ops, const FileIdentity& id) {
    // Not flushed: a record that comes back after a crash names a journal that is gone, and
    // is removed at the next look.
    const std::filesystem::path path = recordPath(id);
    if (!path.empty() && ops.unlink(path) != 0 && errno != ENOENT) {
        const int error = errno;
        throw IoError("无法删除文件：" + pathText(path) + "\n（" + systemMessage(error) + "）",
                      error);
    }
}

std::optional<std::filesystem::path> pendingJournal(FileOps& ops, const FileIdentity& id) {
    const std::filesystem::path path = recordPath(id);
    if (path.empty())
        return std::nullopt;
    try {
        FileStatus st;
        if (ops.lstat(path, st) != 0)
            return std::nullopt;
        const auto journal = readRecord(ops, path);
        if (!journal)
            return std::nullopt;
        if (ops.lstat(*journal, st) == 0)
            return journal;
        // Its journal is gone (played back or removed): nothing is pending.
        if (errno == ENOENT || errno == ENOTDIR)
            removeSideFile(ops, path);
    } catch (const IoError&) {
        // Unreadable: as if there were none; the journal beside the name is still checked.
    }
    return std::nullopt;
}

}  // namespace vorlan
