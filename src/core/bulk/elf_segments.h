#pragma once
// Where the bytes of the executable lie in the console's memory: the loadable segments named
// by the program headers of the file itself (32-bit little-endian ELF). A file offset inside
// a segment's file part is at p_vaddr + (offset − p_offset) once the game is loaded; memory
// patches (.pnach) name those addresses.
//
// Every field is read within the file and checked: the header table's place and entry size,
// the number of entries, each segment's file part inside the file, its memory no smaller
// than its file part, and no two segments sharing file bytes or addresses.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vorlan {

struct LoadSegment {
    std::uint64_t offset = 0;    // p_offset
    std::uint64_t fileSize = 0;  // p_filesz
    std::uint32_t address = 0;   // p_vaddr
    std::uint32_t memorySize = 0;

    bool holdsOffset(std::uint64_t at, std::uint64_t length) const {
        return at >= offset && length <= fileSize && at - offset <= fileSize - length;
    }
};

// The PT_LOAD segments of the file with a file part, in file order. Throws PatchError naming
// what is wrong with the headers.
std::vector<LoadSegment> loadSegments(std::span<const std::uint8_t> elf);

// The memory address of the `length` bytes at file offset `at`, when they lie in one
// segment's file part.
std::optional<std::uint32_t> addressOfOffset(const std::vector<LoadSegment>& segments,
                                             std::uint64_t at, std::uint64_t length);

// The file offset of the `length` bytes at memory address `address`, when they lie in one
// segment's file part (not in the zero-filled memory after it).
std::optional<std::uint64_t> offsetOfAddress(const std::vector<LoadSegment>& segments,
                                             std::uint32_t address, std::uint64_t length);

}  // namespace vorlan
