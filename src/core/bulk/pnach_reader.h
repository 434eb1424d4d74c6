#pragma once
// Reading a PCSX2 memory patch (.pnach) and applying it to the executable it was made for.
//
// The file is text: "//" starts a comment, "[name]" starts a group (author=, description=,
// comment= … follow), gametitle= names the game, and each "patch=PLACE,CPU,ADDRESS,TYPE,VALUE"
// writes VALUE (hexadecimal, little-endian) at the memory ADDRESS (hexadecimal): PLACE 0
// (once at start), 1 (every frame) or 2 (both), CPU EE, TYPE byte, short, word (1, 2, 4
// bytes) or extended (the address's top nibble gives the width: 0 byte, 1 short, 2 word; the
// rest is the address). Every patch line of every group is read; the other lines are read
// and ignored.
//
// Bounded: the file's size, the length of a line and the number of lines.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/journal.h"

namespace vorlan {

inline constexpr std::size_t kMaxPnachBytes = 4u << 20;
inline constexpr std::size_t kMaxPnachLineBytes = 4096;
inline constexpr std::size_t kMaxPnachLines = 100000;

// One value a patch line writes.
struct PnachWrite {
    std::size_t line = 0;  // from 1
    std::uint32_t address = 0;
    std::uint32_t width = 0;  // 1, 2 or 4
    std::uint32_t value = 0;
};

// A line that cannot be applied, and why ("地址“xyz”不是十六进制数").
struct PnachProblem {
    std::size_t line = 0;
    std::string why;
};

struct PnachText {
    std::vector<PnachWrite> writes;
    std::vector<PnachProblem> problems;
};

// Every patch line of `text`, and every line that is not one this program can apply. Throws
// PatchError only when the whole file is out of bounds (too large, too many lines).
PnachText readPnach(std::span<const std::uint8_t> text);

// `current` with every write of the patch made at the file offsets its addresses have in the
// executable's own loadable segments. Every write must lie in one segment's file part and in
// `writable`; otherwise, as for any line readPnach refuses, nothing is applied and PatchError
// names each bad line ("第 N 行：…").
std::vector<std::uint8_t> applyPnach(std::span<const std::uint8_t> text,
                                     std::span<const std::uint8_t> current,
                                     const ByteRanges& writable);

}  // namespace vorlan
