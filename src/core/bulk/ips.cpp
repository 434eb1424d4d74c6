#include "bulk/ips.h"

#include <algorithm>
#include <string_view>

#include "access/byte_order.h"
#include "bulk/patch_error.h"

namespace vorlan {

namespace {

constexpr std::string_view kMagic = "PATCH";
constexpr std::uint32_t kEof = 0x454F46;  // "EOF": an offset no record may start at
constexpr std::uint64_t kLimit = 1u << 24;
constexpr std::size_t kMaxRecord = 0xFFFF;
// A run of one byte at least this long becomes a run record.
constexpr std::size_t kMinRun = 16;
// Changed bytes this close together share one record: a new record costs five bytes.
constexpr std::size_t kJoinGap = 5;

std::string at(std::size_t offset) {
    return "补丁第 " + std::to_string(offset) + " 字节处";
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> patch) : patch_(patch) {}
    std::size_t pos() const { return pos_; }
    std::size_t left() const { return patch_.size() - pos_; }
    void skip(std::size_t n) { pos_ += n; }
    // A big-endian number of `n` bytes.
    std::uint32_t number(std::size_t n) {
        need(n);
        const auto value = static_cast<std::uint32_t>(loadBe(patch_.subspan(pos_, n)));
        pos_ += n;
        return value;
    }
    std::span<const std::uint8_t> bytes(std::size_t n) {
        need(n);
        const auto out = patch_.subspan(pos_, n);
        pos_ += n;
        return out;
    }

private:
    void need(std::size_t n) const {
        if (n > left())
            throw PatchError(at(pos_) + "意外结束：补丁被截断（缺少结尾的 EOF）或已损坏。");
    }
    std::span<const std::uint8_t> patch_;
    std::size_t pos_ = kMagic.size();
};

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    appendBe(out, value, static_cast<std::size_t>(bytes));
}

std::size_t runOf(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t end) {
    std::size_t j = from + 1;
    while (j < end && j - from < kMaxRecord && bytes[j] == bytes[from])
        ++j;
    return j - from;
}

}  // namespace

std::vector<std::uint8_t> applyIps(std::span<const std::uint8_t> patch,
                                   std::span<const std::uint8_t> source) {
    if (patch.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), patch.begin()))
        throw PatchError("这不是 IPS 补丁（开头不是 PATCH）。");
    std::vector<std::uint8_t> target(source.begin(), source.end());
    Reader r(patch);
    for (;;) {
        const std::size_t where = r.pos();
        const std::uint32_t offset = r.number(3);
        if (offset == kEof)
            break;
        const std::uint32_t size = r.number(2);
        const bool run = size == 0;
        const std::uint32_t length = run ? r.number(2) : size;
        if (run && length == 0)
            throw PatchError(at(where) + "的记录长度为 0：补丁已损坏。");
        if (offset + static_cast<std::uint64_t>(length) > target.size())
            throw PatchError(at(where) + "的记录要写到偏移 0x" + hex32(offset) + " 起的 " +
                             std::to_string(length) + " 字节，超出了文件末尾（文件长 " +
                             std::to_string(target.size()) +
                             " 字节）。这个程序不改变游戏主程序的长度。");
        const auto into = target.begin() + static_cast<std::ptrdiff_t>(offset);
        if (run) {
            std::fill_n(into, length, r.number(1));
        } else {
            const auto bytes = r.bytes(length);
            std::copy(bytes.begin(), bytes.end(), into);
        }
    }
    if (r.left() == 3) {
        // Some tools put the file's new length after "EOF".
        const std::size_t where = r.pos();
        if (const std::uint32_t length = r.number(3); length != target.size())
            throw PatchError(at(where) + "要求把文件长度改为 " + std::to_string(length) +
                             " 字节（文件长 " + std::to_string(target.size()) +
                             " 字节）。这个程序不改变游戏主程序的长度。");
    } else if (r.left() != 0) {
        throw PatchError(at(r.pos()) + "的 EOF 之后还有多余的内容：补丁已损坏。");
    }
    return target;
}

std::vector<std::uint8_t> makeIps(std::span<const std::uint8_t> source,
                                  std::span<const std::uint8_t> target) {
    if (source.size() != target.size())
        throw PatchError("IPS 补丁只能在长度相同的两个文件之间制作。");
    if (target.size() > kLimit)
        throw PatchError("IPS 补丁只能表示 16 MiB 以内的文件。");
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    const auto emit = [&](std::size_t offset, std::size_t length, bool run) {
        put(out, static_cast<std::uint32_t>(offset), 3);
        if (run) {
            put(out, 0, 2);
            put(out, static_cast<std::uint32_t>(length), 2);
            out.push_back(target[offset]);
        } else {
            put(out, static_cast<std::uint32_t>(length), 2);
            out.insert(out.end(), target.begin() + static_cast<std::ptrdiff_t>(offset),
                       target.begin() + static_cast<std::ptrdiff_t>(offset + length));
        }
    };
    const std::size_t size = target.size();
    for (std::size_t i = 0; i < size;) {
        if (source[i] == target[i]) {
            ++i;
            continue;
        }
        // The region: changed bytes and the short unchanged gaps between them.
        std::size_t end = i + 1;
        for (std::size_t gap = 0; end + gap < size && gap <= kJoinGap;) {
            if (source[end + gap] != target[end + gap]) {
                end += gap + 1;
                gap = 0;
            } else {
                ++gap;
            }
        }
        for (std::size_t p = i; p < end;) {
            if (p == kEof) {
                // A record cannot start there: this one starts a byte earlier, with the byte
                // the target holds there anyway.
                const std::size_t length = std::min(end - (p - 1), kMaxRecord);
                emit(p - 1, length, false);
                p = p - 1 + length;
                continue;
            }
            if (const std::size_t run = runOf(target, p, end); run >= kMinRun) {
                emit(p, run, true);
                p += run;
                continue;
            }
            std::size_t q = p + 1;
            while (q < end && q - p < kMaxRecord && runOf(target, q, end) < kMinRun)
                ++q;
            emit(p, q - p, false);
            p = q;
        }
        i = end;
    }
    out.insert(out.end(), {'E', 'O', 'F'});
    return out;
}

}  // namespace vorlan
