#include "document/journal.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "access/byte_order.h"
#include "io/crc32.h"
#include "io/new_file.h"
#include "io/path_text.h"

namespace vorlan {

namespace {

constexpr char kMagic[8] = {'V', 'O', 'R', 'L', 'A', 'N', 'J', '3'};
// Earlier versions' journals: the first did not say whose file it was, the second did not
// bind itself to the file's other bytes.
constexpr char kOldMagics[][8] = {{'V', 'O', 'R', 'L', 'A', 'N', 'J', '1'},
                                  {'V', 'O', 'R', 'L', 'A', 'N', 'J', '2'}};
// A journal holds two copies of bytes of the executable only: never larger than this.
constexpr std::uint64_t kMaxJournal = 64u << 20;

// Reads little-endian numbers and byte strings from a span, never past its end: every
// request is checked against what is left before anything is read or allocated.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
    std::size_t left() const { return in_.size() - at_; }
    bool number(int bytes, std::uint64_t& v) {
        if (left() < static_cast<std::size_t>(bytes))
            return false;
        v = loadLe(in_.subspan(at_, static_cast<std::size_t>(bytes)));
        at_ += static_cast<std::size_t>(bytes);
        return true;
    }
    bool bytes(std::uint64_t count, std::vector<std::uint8_t>& out) {
        if (count > left())
            return false;
        const auto from = in_.subspan(at_, static_cast<std::size_t>(count));
        out.assign(from.begin(), from.end());
        at_ += static_cast<std::size_t>(count);
        return true;
    }

private:
    std::span<const std::uint8_t> in_;
    std::size_t at_ = 0;
};

std::uint32_t crcOf(const std::uint8_t* data, std::size_t size) {
    return crc32Of({data, size});
}

std::string hex(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(v));
    return text;
}

DecodedJournal malformed(std::string why) {
    DecodedJournal d;
    d.state = DecodedJournal::State::Malformed;
    d.why = std::move(why);
    return d;
}

FoundJournal readJournalAt(FileOps& ops, const std::filesystem::path& path, const FileIdentity& id);

}  // namespace

std::filesystem::path journalPath(const std::filesystem::path& exe) {
    auto p = exe;
    p += ".journal";
    return p;
}

std::vector<std::uint8_t> encodeJournal(const Journal& journal) {
    std::vector<std::uint8_t> out(kMagic, kMagic + sizeof kMagic);
    appendLe(out, journal.exeSize, 8);
    appendLe(out, journal.device, 8);
    appendLe(out, journal.inode, 8);
    appendLe(out, journal.outsideCrc, 4);
    appendLe(out, journal.runs.size(), 4);
    for (const ByteRun& r : journal.runs) {
        appendLe(out, r.offset, 8);
        appendLe(out, r.before.size(), 4);
        out.insert(out.end(), r.before.begin(), r.before.end());
        out.insert(out.end(), r.after.begin(), r.after.end());
    }
    appendLe(out, crcOf(out.data(), out.size()), 4);
    return out;
}

DecodedJournal decodeJournal(std::span<const std::uint8_t> bytes) {
    DecodedJournal d;
    for (const auto& old : kOldMagics) {
        if (bytes.size() >= sizeof old && std::memcmp(bytes.data(), old, sizeof old) == 0) {
            d.state = DecodedJournal::State::OldFormat;
            return d;
        }
    }
    if (bytes.size() < sizeof kMagic + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return d;  // Damaged
    const auto body = bytes.first(bytes.size() - 4);
    std::uint64_t crc = 0;
    Reader(bytes.last(4)).number(4, crc);
    if (crc != crcOf(body.data(), body.size()))
        return d;  // Damaged

    Reader in(body.subspan(sizeof kMagic));
    Journal& j = d.journal;
    std::uint64_t count = 0;
    std::uint64_t outside = 0;
    if (!in.number(8, j.exeSize) || !in.number(8, j.device) || !in.number(8, j.inode) ||
        !in.number(4, outside) || !in.number(4, count)) {
        return malformed("日志头不完整");
    }
    j.outsideCrc = static_cast<std::uint32_t>(outside);
    // Each run takes at least 12 bytes: a count beyond that cannot be true.
    if (count > in.left() / 12)
        return malformed("日志声明的改动处数多于它能容纳的");
    std::uint64_t end = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        ByteRun r;
        std::uint64_t length = 0;
        if (!in.number(8, r.offset) || !in.number(4, length) || length == 0 ||
            length > in.left() / 2 || !in.bytes(length, r.before) || !in.bytes(length, r.after)) {
            return malformed("第 " + std::to_string(i + 1) + " 处改动的长度不对");
        }
        if (r.offset > j.exeSize || length > j.exeSize - r.offset)
            return malformed("第 " + std::to_string(i + 1) + " 处改动超出了文件的范围");
        if (i > 0 && r.offset < end)
            return malformed("第 " + std::to_string(i + 1) + " 处改动与前一处重叠或次序颠倒");
        end = r.offset + length;
        j.runs.push_back(std::move(r));
    }
    if (in.left() != 0)
        return malformed("日志末尾有多余的内容");
    d.state = DecodedJournal::State::Valid;
    return d;
}

std::uint32_t outsideRunsCrc(PosixFile& file, std::uint64_t size,
                             const std::vector<ByteRun>& runs) {
    constexpr std::size_t kBuffer = 256 * 1024;
    std::vector<std::uint8_t> buffer;
    std::uint32_t crc = 0;
    std::uint64_t at = 0;
    const auto upTo = [&](std::uint64_t end) {
        while (at < end) {
            buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kBuffer, end - at)));
            file.readAt(at, buffer);
            crc = crc32Update(crc, buffer);
            at += buffer.size();
        }
    };
    for (const ByteRun& r : runs) {
        upTo(std::min(r.offset, size));
        at = std::max(at, std::min(r.offset + r.before.size(), size));
    }
    upTo(size);
    return crc;
}

std::string playbackProblem(const Journal& journal, const PlaybackTarget& target,
                            const ByteRanges& writable) {
    const FileIdentity& id = target.id;
    if (journal.device != id.device || journal.inode != id.inode || journal.exeSize != id.size)
        return "它是为另一个文件（或长度不同的文件）写的，不属于这个游戏主程序";
    for (std::size_t i = 0; i < journal.runs.size(); ++i) {
        const ByteRun& r = journal.runs[i];
        const std::uint64_t end = r.offset + r.before.size();
        const bool inside = std::any_of(writable.begin(), writable.end(), [&](const auto& range) {
            return r.offset >= range.first && end <= range.second;
        });
        if (!inside) {
            return "它要改动偏移 " + hex(r.offset) +
                   " 处的字节，那里不是本程序编辑的数据表，本程序从不写那里";
        }
        const std::vector<std::uint8_t>& now = target.current.at(i);
        for (std::size_t k = 0; k < now.size(); ++k) {
            if (now[k] != r.before[k] && now[k] != r.after[k]) {
                return "偏移 " + hex(r.offset + k) +
                       " 处的字节既不是那次写入之前的值，也不是它写下的值：那次写入之后文件又被"
                       "改动过，按日志恢复会毁掉那些改动";
            }
        }
    }
    // Checked last: the runs name the first difference more precisely.
    if (target.outsideCrc != journal.outsideCrc) {
        return "文件中那次写入没有碰过的字节也和写入之前不同：在那之后，这个文件被整个换成了另一个"
               "文件的内容（例如复制过来的另一份游戏主程序），按日志恢复会把两个文件混在一起";
    }
    return {};
}

void writeJournal(FileOps& ops, const std::filesystem::path& exePath, PosixFile& exe,
                  const std::vector<ByteRun>& runs) {
    const FileIdentity id = exe.identity();
    Journal j;
    j.exeSize = id.size;
    j.device = id.device;
    j.inode = id.inode;
    j.outsideCrc = outsideRunsCrc(exe, id.size, runs);
    j.runs = runs;
    createNewFile(ops, journalPath(exePath), encodeJournal(j));
}

FoundJournal readJournal(FileOps& ops, const std::filesystem::path& exe, const FileIdentity& id) {
    return readJournalFile(ops, journalPath(exe), id);
}

FoundJournal readJournalFile(FileOps& ops, const std::filesystem::path& path,
                             const FileIdentity& id) {
    try {
        return readJournalAt(ops, path, id);
    } catch (const IoError& e) {
        throw IoError("无法读取恢复日志：" + pathText(path) + "\n" + e.what(), e.error());
    }
}

namespace {

FoundJournal readJournalAt(FileOps& ops, const std::filesystem::path& path,
                           const FileIdentity& id) {
    SideFile side = openSideFile(ops, path, &id);
    FoundJournal found;
    if (side.state == SideFile::State::Missing)
        return found;
    found.state = JournalState::Foreign;
    if (side.state == SideFile::State::Refused) {
        found.problem = side.problem;
        return found;
    }
    if (side.size > kMaxJournal) {
        found.problem = "「" + pathText(path) + "」比本程序写的任何恢复日志都大，不是本程序写的";
        return found;
    }
    const auto bytes = side.file->readAt(0, static_cast<std::size_t>(side.size));
    DecodedJournal decoded = decodeJournal(bytes);
    switch (decoded.state) {
        case DecodedJournal::State::Valid:
            found.state = JournalState::Valid;
            found.journal = std::move(decoded.journal);
            break;
        case DecodedJournal::State::Damaged:
            found.state = JournalState::Damaged;
            break;
        case DecodedJournal::State::OldFormat:
            found.state = JournalState::OldFormat;
            break;
        case DecodedJournal::State::Malformed:
            found.state = JournalState::Malformed;
            found.problem = decoded.why;
            break;
    }
    return found;
}

}  // namespace

void removeJournal(FileOps& ops, const std::filesystem::path& exe) {
    removeJournalFile(ops, journalPath(exe));
}

void removeJournalFile(FileOps& ops, const std::filesystem::path& path) {
    try {
        removeSideFile(ops, path);
    } catch (const IoError& e) {
        throw IoError(
            "无法删除恢复日志：" + pathText(path) + "\n（" + systemMessage(e.error()) + "）",
            e.error());
    }
}

}  // namespace vorlan
