#include "bulk/elf_segments.h"

#include <algorithm>
#include <string>

#include "access/byte_order.h"
#include "bulk/patch_error.h"

namespace vorlan {

namespace {

constexpr std::size_t kElfHeaderSize = 52;
constexpr std::size_t kProgramHeaderSize = 32;
// Console executables carry a handful of program headers; more means a damaged header.
constexpr std::size_t kMaxProgramHeaders = 64;
constexpr std::uint32_t kLoadable = 1;

std::uint32_t le(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
    return static_cast<std::uint32_t>(loadLe(bytes.subspan(at, width)));
}

[[noreturn]] void refuse(const std::string& why) {
    throw PatchError("游戏主程序的 ELF 程序头有误：" + why + "。无法确定文件内容在内存中的地址。");
}

std::string hexText(std::uint64_t value) {
    return "0x" + hex32(static_cast<std::uint32_t>(value));
}

}  // namespace

std::vector<LoadSegment> loadSegments(std::span<const std::uint8_t> elf) {
    if (elf.size() < kElfHeaderSize || elf[0] != 0x7F || elf[1] != 'E' || elf[2] != 'L' ||
        elf[3] != 'F')
        refuse("文件开头不是 ELF 文件头");
    if (elf[4] != 1 || elf[5] != 1)
        refuse("不是 32 位小端序（little-endian）的 ELF 文件");
    const std::uint64_t table = le(elf, 28, 4);
    const std::uint32_t entrySize = le(elf, 42, 2);
    const std::uint32_t count = le(elf, 44, 2);
    if (count == 0)
        refuse("没有程序头");
    if (count > kMaxProgramHeaders)
        refuse("程序头有 " + std::to_string(count) + " 个（最多 " +
               std::to_string(kMaxProgramHeaders) + " 个）");
    if (entrySize != kProgramHeaderSize)
        refuse("程序头长 " + std::to_string(entrySize) + " 字节（应为 32 字节）");
    if (table < kElfHeaderSize || table + count * kProgramHeaderSize > elf.size())
        refuse("程序头表（偏移 " + hexText(table) + "，" + std::to_string(count) +
               " 个）不在文件头之后的文件范围内");
    std::vector<LoadSegment> segments;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(table) + i * kProgramHeaderSize;
        if (le(elf, at, 4) != kLoadable)
            continue;
        const std::string which = "第 " + std::to_string(i + 1) + " 个程序头";
        LoadSegment s{le(elf, at + 4, 4), le(elf, at + 16, 4), le(elf, at + 8, 4),
                      le(elf, at + 20, 4)};
        const std::uint32_t align = le(elf, at + 28, 4);
        if (s.offset + s.fileSize > elf.size())
            refuse(which + "的文件部分（偏移 " + hexText(s.offset) + " 起 " +
                   std::to_string(s.fileSize) + " 字节）超出了文件末尾");
        if (s.fileSize > s.memorySize)
            refuse(which + "的文件部分（" + std::to_string(s.fileSize) + " 字节）比内存部分（" +
                   std::to_string(s.memorySize) + " 字节）还大");
        if (std::uint64_t{s.address} + s.memorySize > (std::uint64_t{1} << 32))
            refuse(which + "的内存范围超出了 32 位地址");
        if (align > 1 && ((align & (align - 1)) != 0 || s.offset % align != s.address % align))
            refuse(which + "的对齐值 " + hexText(align) + " 与它的偏移和地址不符");
        if (s.fileSize > 0)
            segments.push_back(s);
    }
    if (segments.empty())
        refuse("没有带文件内容的可载入段（PT_LOAD）");
    std::sort(segments.begin(), segments.end(),
              [](const LoadSegment& a, const LoadSegment& b) { return a.offset < b.offset; });
    for (std::size_t i = 0; i < segments.size(); ++i) {
        for (std::size_t j = i + 1; j < segments.size(); ++j) {
            const LoadSegment& a = segments[i];
            const LoadSegment& b = segments[j];
            const bool sharedBytes = b.offset < a.offset + a.fileSize;
            const bool sharedMemory = a.address < std::uint64_t{b.address} + b.memorySize &&
                                      b.address < std::uint64_t{a.address} + a.memorySize;
            if (sharedBytes || sharedMemory)
                refuse("两个可载入段（偏移 " + hexText(a.offset) + " 和 " + hexText(b.offset) +
                       "）的" + (sharedBytes ? "文件部分" : "内存范围") + "重叠");
        }
    }
    return segments;
}

std::optional<std::uint32_t> addressOfOffset(const std::vector<LoadSegment>& segments,
                                             std::uint64_t at, std::uint64_t length) {
    for (const LoadSegment& s : segments) {
        if (s.holdsOffset(at, length))
            return static_cast<std::uint32_t>(s.address + (at - s.offset));
    }
    return std::nullopt;
}

std::optional<std::uint64_t> offsetOfAddress(const std::vector<LoadSegment>& segments,
                                             std::uint32_t address, std::uint64_t length) {
    for (const LoadSegment& s : segments) {
        if (address >= s.address && length <= s.fileSize &&
            address - s.address <= s.fileSize - length)
            return s.offset + (address - s.address);
    }
    return std::nullopt;
}

}  // namespace vorlan
