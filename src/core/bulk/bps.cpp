#include "bulk/bps.h"

#include <algorithm>
#include <limits>

#include "access/byte_order.h"
#include "bulk/patch_error.h"
#include "io/crc32.h"

namespace vorlan {

namespace {

constexpr std::string_view kMagic = "BPS1";
constexpr std::size_t kFooter = 12;  // source, target and patch CRC-32

enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

std::uint32_t crcOf(std::span<const std::uint8_t> bytes) {
    return crc32Of(bytes);
}

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return loadLe<std::uint32_t>(bytes.subspan(at));
}

std::string at(std::size_t offset) {
    return "补丁第 " + std::to_string(offset) + " 字节处";
}

// The patch between its magic and its footer, read number by number.
class Reader {
public:
    Reader(std::span<const std::uint8_t> patch, std::size_t from, std::size_t end)
        : patch_(patch), pos_(from), end_(end) {}

    std::size_t pos() const { return pos_; }
    bool done() const { return pos_ >= end_; }
    std::size_t left() const { return end_ - pos_; }

    std::uint8_t byte() {
        if (pos_ >= end_)
            throw PatchError(at(pos_) + "意外结束：补丁被截断或已损坏。");
        return patch_[pos_++];
    }
    std::span<const std::uint8_t> bytes(std::uint64_t count) {
        if (count > left())
            throw PatchError(at(pos_) + "要读 " + std::to_string(count) + " 字节，但补丁只剩 " +
                             std::to_string(left()) + " 字节：补丁被截断或已损坏。");
        const auto out = patch_.subspan(pos_, static_cast<std::size_t>(count));
        pos_ += static_cast<std::size_t>(count);
        return out;
    }
    // Seven bits a byte, low first; a set high bit ends the number, and every further byte
    // adds its shift, so each number has one encoding.
    std::uint64_t number() {
        const std::size_t start = pos_;
        std::uint64_t value = 0;
        std::uint64_t shift = 1;
        for (;;) {
            const std::uint8_t x = byte();
            std::uint64_t part = 0;
            if (__builtin_mul_overflow(static_cast<std::uint64_t>(x & 0x7F), shift, &part) ||
                __builtin_add_overflow(value, part, &value))
                break;
            if ((x & 0x80) != 0)
                return value;
            if (shift > (std::numeric_limits<std::uint64_t>::max() >> 7))
                break;
            shift <<= 7;
            if (__builtin_add_overflow(value, shift, &value))
                break;
        }
        throw PatchError(at(start) + "的数字太大：补丁已损坏。");
    }

private:
    std::span<const std::uint8_t> patch_;
    std::size_t pos_;
    std::size_t end_;
};

void putNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (;;) {
        const auto x = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(static_cast<std::uint8_t>(0x80 | x));
            return;
        }
        out.push_back(x);
        --value;
    }
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    appendLe(out, value, 4);
}

// A relative offset: the magnitude shifted up, the sign in the low bit. Moves `base` within
// [0, limit], or throws.
void moveBy(std::uint64_t& base, std::uint64_t coded, std::uint64_t limit, std::size_t where,
            const char* what) {
    const std::uint64_t distance = coded >> 1;
    const bool back = (coded & 1) != 0;
    if (back ? distance > base : distance > limit - base)
        throw PatchError(at(where) + "的复制位置落在" + what + "之外：补丁已损坏。");
    base = back ? base - distance : base + distance;
}

}  // namespace

BpsHeader readBpsHeader(std::span<const std::uint8_t> patch) {
    if (patch.size() < kMagic.size() + kFooter ||
        !std::equal(kMagic.begin(), kMagic.end(), patch.begin()))
        throw PatchError("这不是 BPS 补丁（开头不是 BPS1，或者太短）。");
    const std::size_t body = patch.size() - kFooter;
    const std::uint32_t stored = le32(patch, patch.size() - 4);
    const std::uint32_t actual = crcOf(patch.first(patch.size() - 4));
    if (stored != actual)
        throw PatchError("补丁文件已损坏：它记录的自身 CRC-32 是 " + hex32(stored) + "，实际是 " +
                         hex32(actual) + "。");
    Reader r(patch, kMagic.size(), body);
    BpsHeader h;
    h.sourceSize = r.number();
    h.targetSize = r.number();
    const std::uint64_t metadataSize = r.number();
    const auto metadata = r.bytes(metadataSize);
    h.metadata.assign(metadata.begin(), metadata.end());
    h.sourceCrc = le32(patch, body);
    h.targetCrc = le32(patch, body + 4);
    return h;
}

std::vector<std::uint8_t> applyBps(std::span<const std::uint8_t> patch,
                                   std::span<const std::uint8_t> source, std::uint64_t maxTarget) {
    const BpsHeader h = readBpsHeader(patch);
    const std::uint32_t sourceCrc = crcOf(source);
    if (h.sourceSize != source.size() || h.sourceCrc != sourceCrc) {
        std::string text = "这个补丁不是为这个文件做的：补丁要求原文件长 " +
                           std::to_string(h.sourceSize) + " 字节、CRC-32 为 " + hex32(h.sourceCrc) +
                           "，而这个文件长 " + std::to_string(source.size()) + " 字节、CRC-32 为 " +
                           hex32(sourceCrc) + "。";
        if (h.targetSize == source.size() && h.targetCrc == sourceCrc)
            text += "\n这个文件正是补丁应用之后的样子：补丁已经应用过了。";
        throw PatchError(text);
    }
    if (h.targetSize > maxTarget)
        throw PatchError("补丁要生成 " + std::to_string(h.targetSize) + " 字节的文件，超过了 " +
                         std::to_string(maxTarget) + " 字节。");

    // Skip the header again to reach the actions.
    Reader r(patch, kMagic.size(), patch.size() - kFooter);
    r.number();
    r.number();
    r.bytes(r.number());

    const auto targetSize = static_cast<std::size_t>(h.targetSize);
    std::vector<std::uint8_t> target(targetSize);
    std::size_t out = 0;
    std::uint64_t sourceAt = 0;
    std::uint64_t targetAt = 0;
    while (!r.done()) {
        const std::size_t where = r.pos();
        const std::uint64_t command = r.number();
        const std::uint64_t length = (command >> 2) + 1;
        if (length > targetSize - out)
            throw PatchError(at(where) + "的操作写到了目标文件末尾之后：补丁已损坏。");
        const auto n = static_cast<std::size_t>(length);
        switch (command & 3) {
            case SourceRead:
                if (out + n > source.size())
                    throw PatchError(at(where) + "的操作读到了原文件末尾之后：补丁已损坏。");
                std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(out), n,
                            target.begin() + static_cast<std::ptrdiff_t>(out));
                break;
            case TargetRead: {
                const auto bytes = r.bytes(length);
                std::copy(bytes.begin(), bytes.end(),
                          target.begin() + static_cast<std::ptrdiff_t>(out));
                break;
            }
            case SourceCopy:
                moveBy(sourceAt, r.number(), source.size(), where, "原文件");
                if (length > source.size() - sourceAt)
                    throw PatchError(at(where) + "的操作读到了原文件末尾之后：补丁已损坏。");
                std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(sourceAt), n,
                            target.begin() + static_cast<std::ptrdiff_t>(out));
                sourceAt += length;
                break;
            case TargetCopy:
                // Only bytes already made may be read; the copy may overlap what it makes,
                // so it goes byte by byte.
                moveBy(targetAt, r.number(), out, where, "已生成的内容");
                if (targetAt >= out)
                    throw PatchError(at(where) + "的操作读取了尚未生成的内容：补丁已损坏。");
                for (std::size_t i = 0; i < n; ++i)
                    target[out + i] = target[static_cast<std::size_t>(targetAt) + i];
                targetAt += length;
                break;
        }
        out += n;
    }
    if (out != targetSize)
        throw PatchError("补丁只生成了 " + std::to_string(out) + " 字节，少于它声明的 " +
                         std::to_string(targetSize) + " 字节：补丁已损坏。");
    if (const std::uint32_t made = crcOf(target); made != h.targetCrc)
        throw PatchError("应用补丁的结果与补丁记录的不符：结果的 CRC-32 应为 " +
                         hex32(h.targetCrc) + "，实际为 " + hex32(made) + "。");
    return target;
}

std::vector<std::uint8_t> makeBps(std::span<const std::uint8_t> source,
                                  std::span<const std::uint8_t> target, std::string_view metadata) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    putNumber(out, source.size());
    putNumber(out, target.size());
    putNumber(out, metadata.size());
    out.insert(out.end(), metadata.begin(), metadata.end());
    const auto same = [&](std::size_t i) { return i < source.size() && source[i] == target[i]; };
    for (std::size_t i = 0; i < target.size();) {
        const bool kept = same(i);
        std::size_t j = i + 1;
        while (j < target.size() && same(j) == kept)
            ++j;
        putNumber(out, ((j - i - 1) << 2) | (kept ? SourceRead : TargetRead));
        if (!kept)
            out.insert(out.end(), target.begin() + static_cast<std::ptrdiff_t>(i),
                       target.begin() + static_cast<std::ptrdiff_t>(j));
        i = j;
    }
    putLe32(out, crcOf(source));
    putLe32(out, crcOf(target));
    putLe32(out, crcOf(out));
    return out;
}

}  // namespace vorlan
