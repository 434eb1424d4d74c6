#include "document/journal.h"

#include <fcntl.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>

#include "document/posix_file.h"

namespace vorlan {

namespace {

constexpr char kMagic[8] = {'V', 'O', 'R', 'L', 'A', 'N', 'J', '1'};
// A journal holds old bytes of the executable only: it can never be larger than this.
constexpr std::uint64_t kMaxJournal = 64u << 20;

void putLe(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool getLe(const std::vector<std::uint8_t>& in, std::size_t& at, int bytes, std::uint64_t& v) {
    if (at + static_cast<std::size_t>(bytes) > in.size())
        return false;
    v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<std::uint64_t>(in[at + static_cast<std::size_t>(i)]) << (8 * i);
    at += static_cast<std::size_t>(bytes);
    return true;
}

std::uint32_t crcOf(const std::uint8_t* data, std::size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (size > 0) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
        crc = crc32(crc, data, chunk);
        data += chunk;
        size -= chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

}  // namespace

std::filesystem::path journalPath(const std::filesystem::path& exe) {
    auto p = exe;
    p += ".journal";
    return p;
}

std::vector<std::uint8_t> encodeJournal(const Journal& journal) {
    std::vector<std::uint8_t> out(kMagic, kMagic + sizeof kMagic);
    putLe(out, journal.exeSize, 8);
    putLe(out, journal.ranges.size(), 4);
    for (const Journal::Range& r : journal.ranges) {
        putLe(out, r.offset, 8);
        putLe(out, r.bytes.size(), 4);
        out.insert(out.end(), r.bytes.begin(), r.bytes.end());
    }
    putLe(out, crcOf(out.data(), out.size()), 4);
    return out;
}

std::optional<Journal> decodeJournal(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < sizeof kMagic + 16 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const std::size_t body = bytes.size() - 4;
    std::size_t at = body;
    std::uint64_t crc = 0;
    getLe(bytes, at, 4, crc);
    if (crc != crcOf(bytes.data(), body))
        return std::nullopt;
    Journal j;
    at = sizeof kMagic;
    std::uint64_t count = 0;
    if (!getLe(bytes, at, 8, j.exeSize) || !getLe(bytes, at, 4, count))
        return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
        if (!getLe(bytes, at, 8, offset) || !getLe(bytes, at, 4, length) || length > body - at)
            return std::nullopt;
        if (offset > j.exeSize || length > j.exeSize - offset)
            return std::nullopt;
        const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        j.ranges.push_back(
            {offset, std::vector<std::uint8_t>(from, from + static_cast<std::ptrdiff_t>(length))});
        at += static_cast<std::size_t>(length);
    }
    if (at != body)
        return std::nullopt;
    return j;
}

void writeJournal(FileOps& ops, const std::filesystem::path& exe, std::uint64_t exeSize,
                  const std::vector<ByteRun>& runs) {
    Journal j;
    j.exeSize = exeSize;
    for (const ByteRun& r : runs)
        j.ranges.push_back({r.offset, r.before});
    const auto bytes = encodeJournal(j);
    const auto path = journalPath(exe);
    try {
        PosixFile file(ops, path, PosixFile::Mode::Create);
        file.writeAt(0, bytes);
        file.sync();
        file.close();
        syncFolderOf(ops, path);
    } catch (const IoError&) {
        // The executable has not been touched: a partial journal is only in the way.
        ops.unlink(path.c_str());
        throw;
    }
}

FoundJournal readJournal(FileOps& ops, const std::filesystem::path& exe) {
    const auto path = journalPath(exe);
    struct stat st {};
    if (ops.lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return {};
        throw IoError("无法读取恢复日志：" + path.string() + "\n（" + systemMessage(errno) + "）",
                      errno);
    }
    FoundJournal found;
    found.state = JournalState::Foreign;
    if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > kMaxJournal)
        return found;
    found.state = JournalState::Damaged;
    PosixFile file(ops, path, PosixFile::Mode::Read);
    const auto bytes = file.readAt(0, static_cast<std::size_t>(st.st_size));
    if (auto j = decodeJournal(bytes)) {
        found.state = JournalState::Valid;
        found.journal = std::move(*j);
    }
    return found;
}

void removeJournal(FileOps& ops, const std::filesystem::path& exe) {
    const auto path = journalPath(exe);
    if (ops.unlink(path.c_str()) == 0 || errno == ENOENT) {
        syncFolderOf(ops, path);
        return;
    }
    const int error = errno;
    // Emptied, it fails its check and is never played back.
    try {
        PosixFile file(ops, path, PosixFile::Mode::ReadWrite);
        file.truncate(0);
        file.sync();
        return;
    } catch (const IoError&) {
    }
    throw IoError("无法删除恢复日志：" + path.string() + "\n（" + systemMessage(error) + "）",
                  error);
}

}  // namespace vorlan
