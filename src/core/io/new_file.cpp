#include "io/new_file.h"
#include "io/path_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace vorlan {

namespace {

std::string quoted(const std::filesystem::path& p) {
    return "「" + pathText(p) + "」";
}

[[noreturn]] void failNaming(const std::filesystem::path& target, int error) {
    if (error == EEXIST)
        throw IoError("该位置已有同名文件，没有覆盖它：" + pathText(target), error);
    throw IoError("无法建立文件：" + pathText(target) + "\n（" + systemMessage(error) + "）",
                  error);
}

constexpr const char* kPartial = ".partial";

// "<target>.1a2b3c4d0.partial": a name nobody chose before, tried until one is free.
std::filesystem::path freshName(const std::filesystem::path& target, unsigned attempt) {
    static thread_local std::mt19937 random{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x%u%s", static_cast<unsigned>(random()), attempt,
                  kPartial);
    auto p = target;
    p += suffix;
    return p;
}

// Writes the bytes into a newly created file beside `target` and flushes them. Returns the
// open file (kept open so that its name can be checked after the rename).
PosixFile writeFresh(FileOps& ops, const std::filesystem::path& target, FileParts parts,
                     PosixFile::Mode mode) {
    std::uint64_t length = 0;
    for (const auto& part : parts)
        length += part.size();
    for (unsigned attempt = 0;; ++attempt) {
        const auto tmp = freshName(target, attempt);
        std::optional<PosixFile> out;
        try {
            out.emplace(ops, tmp, mode);
        } catch (const IoError& e) {
            if (e.error() == EEXIST && attempt < 64)
                continue;
            // The player asked for `target`: the fresh name is ours, and means nothing to them.
            failNaming(target, e.error());
        }
        try {
            constexpr std::size_t kChunk = 1 << 20;  // a few writes for a large file
            std::uint64_t offset = 0;
            for (const auto& bytes : parts) {
                for (std::size_t at = 0; at < bytes.size(); at += kChunk)
                    out->writeAt(offset + at,
                                 bytes.subspan(at, std::min(kChunk, bytes.size() - at)));
                offset += bytes.size();
            }
            out->sync();
            if (out->identity().size != length)
                throw IoError("写入的文件长度不对：" + pathText(tmp), EIO);
        } catch (const IoError& e) {
            ops.unlink(tmp);  // made by this call under a fresh name: ours to remove
            // Said of the file the player knows: the fresh name is gone with it.
            std::string said = e.what();
            const std::string fresh = pathText(tmp);
            if (const auto at = said.find(fresh); at != std::string::npos)
                said.replace(at, fresh.size(), pathText(target));
            throw IoError(said, e.error());
        }
        return std::move(*out);
    }
}

// After naming: the name must hold the file just written, not one swapped in meanwhile.
void checkNamed(FileOps& ops, PosixFile& written, const std::filesystem::path& target) {
    FileStatus st;
    if (ops.lstat(target, st) != 0 || !st.sameFile(written.identity()))
        throw IoError("文件在建立的同时被其他程序换掉了：" + pathText(target), EIO);
}

// Gives the finished file its name without replacing anything of that name.
void nameWithoutReplacing(FileOps& ops, const std::filesystem::path& tmp,
                          const std::filesystem::path& target) {
    if (ops.renameNoReplace(tmp, target) == 0)
        return;
    int error = errno;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP)
        failNaming(target, error);
    // A file system without that rename: a hard link fails as well when the name is taken.
    if (ops.link(tmp, target) == 0) {
        ops.unlink(tmp);
        return;
    }
    error = errno;
    if (error == EEXIST)
        failNaming(target, error);
    // Neither (FAT on a USB stick): the caller holds the lock of the file this one belongs
    // to, so no writer of this program races the check below.
    FileStatus st;
    if (ops.lstat(target, st) == 0)
        failNaming(target, EEXIST);
    if (ops.rename(tmp, target) != 0)
        failNaming(target, errno);
}

void install(FileOps& ops, const std::filesystem::path& target, FileParts parts, bool replace,
             PosixFile::Mode mode = PosixFile::Mode::CreateNew) {
    PosixFile written = writeFresh(ops, target, parts, mode);
    const auto tmp = written.path();
    try {
        if (replace) {
            if (ops.rename(tmp, target) != 0)
                failNaming(target, errno);
        } else {
            nameWithoutReplacing(ops, tmp, target);
        }
    } catch (const IoError&) {
        FileStatus st;
        if (ops.lstat(tmp, st) == 0 && st.sameFile(written.identity()))
            ops.unlink(tmp);
        throw;
    }
    try {
        checkNamed(ops, written, target);
        syncFolderOf(ops, target);
        written.close();
    } catch (const IoError&) {
        // A new file that may not last is none: the name goes again, if it is still ours.
        FileStatus st;
        if (!replace && ops.lstat(target, st) == 0 && st.sameFile(written.identity()))
            ops.unlink(target);
        throw;
    }
}

// The file name whose fresh name `name` is ("<target>.1a2b3c4d0.partial" gives "<target>"), or
// nothing when `name` is not one.
std::optional<std::string> freshNameTarget(const std::string& name) {
    const std::string tail = kPartial;
    if (!name.ends_with(tail))
        return std::nullopt;
    const std::string rest = name.substr(0, name.size() - tail.size());
    const std::size_t dot = rest.rfind('.');
    if (dot == std::string::npos || dot == 0 || rest.size() - dot - 1 < 9)
        return std::nullopt;
    const bool hex =
        std::all_of(rest.begin() + static_cast<std::ptrdiff_t>(dot) + 1, rest.end(),
                    [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
    return hex ? std::optional(rest.substr(0, dot)) : std::nullopt;
}

}  // namespace

void createNewFile(FileOps& ops, const std::filesystem::path& target,
                   std::span<const std::uint8_t> bytes) {
    install(ops, target, {&bytes, 1}, false);
}

void createNewFile(FileOps& ops, const std::filesystem::path& target, FileParts parts) {
    install(ops, target, parts, false);
}

void createPrivateFile(FileOps& ops, const std::filesystem::path& target,
                       std::span<const std::uint8_t> bytes) {
    install(ops, target, {&bytes, 1}, false, PosixFile::Mode::CreatePrivate);
}

void replaceFile(FileOps& ops, const std::filesystem::path& target,
                 std::span<const std::uint8_t> bytes) {
    install(ops, target, {&bytes, 1}, true);
}

std::optional<std::string> sideFileProblem(const std::filesystem::path& path, const FileStatus& st,
                                           const FileIdentity* owner) {
    if (!st.regular()) {
        return quoted(path) +
               "不是普通文件（是文件夹、符号链接或设备），不是本程序写的，没有使用也没有改动它。";
    }
    if (owner != nullptr && st.sameFile(*owner)) {
        return quoted(path) +
               "与它所属的文件是同一个文件（硬链接），不能当作本程序的附属文件，没有使用也没有改动"
               "它。";
    }
    if (st.links != 1) {
        return quoted(path) +
               "还有其他名字（硬链接），可能就是别的文件，不是本程序写的，没有使用也没有改动它。";
    }
    if (!st.ownedByUser) {
        return quoted(path) + "属于另一个用户，不是本程序替你写的，没有使用也没有改动它。";
    }
    return std::nullopt;
}

SideFile openSideFile(FileOps& ops, const std::filesystem::path& path, const FileIdentity* owner) {
    SideFile side;
    FileStatus st;
    if (ops.lstat(path, st) != 0) {
        if (errno == ENOENT)
            return side;
        throw IoError("无法读取文件信息：" + pathText(path) + "\n（" + systemMessage(errno) + "）",
                      errno);
    }
    side.state = SideFile::State::Refused;
    if (auto problem = sideFileProblem(path, st, owner)) {
        side.problem = std::move(*problem);
        return side;
    }
    PosixFile file(ops, path, PosixFile::Mode::Read, PosixFile::Links::Refuse);
    const FileStatus now = file.status();
    if (now.device != st.device || now.inode != st.inode) {
        side.problem = quoted(path) + "在读取的同时被其他程序换掉了，没有使用也没有改动它。";
        return side;
    }
    if (auto problem = sideFileProblem(path, now, owner)) {
        side.problem = std::move(*problem);
        return side;
    }
    side.state = SideFile::State::Trusted;
    side.size = now.size;
    side.file.emplace(std::move(file));
    return side;
}

void removeLeftoverPartials(FileOps& ops, const std::filesystem::path& folder,
                            const std::function<bool(const std::string&)>& isTarget) {
    const std::filesystem::path in = folder.empty() ? std::filesystem::path(".") : folder;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(in, ec), end; !ec && it != end; it.increment(ec)) {
        const auto& path = it->path();
        const auto target = freshNameTarget(pathText(path.filename()));
        if (!target || !isTarget(*target))
            continue;
        FileStatus st;
        if (ops.lstat(path, st) == 0 && !sideFileProblem(path, st, nullptr))
            ops.unlink(path);
    }
}

void removeLeftoverPartials(FileOps& ops, const std::filesystem::path& target) {
    const std::string base = pathText(target.filename());
    removeLeftoverPartials(ops, target.parent_path(),
                           [&](const std::string& name) { return name == base; });
}

void removeSideFile(FileOps& ops, const std::filesystem::path& path) {
    if (ops.unlink(path) != 0 && errno != ENOENT) {
        const int error = errno;
        throw IoError("无法删除文件：" + pathText(path) + "\n（" + systemMessage(error) + "）",
                      error);
    }
    syncFolderOf(ops, path);
}

}  // namespace vorlan
