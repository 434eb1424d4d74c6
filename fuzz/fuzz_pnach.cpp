// Fuzz target: the .pnach reader and writer, and the program-header reader. The input is read
// as program headers (any segment returned lies inside the input) and applied as a .pnach to
// a small two-segment executable: refused with one line per message line and no control
// character, or changing only bytes inside the tables. A target made from the input (inside
// the segments) must round-trip through the writer and the reader.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "bulk/elf_segments.h"
#include "bulk/patch_error.h"
#include "bulk/pnach_reader.h"
#include "bulk/pnach_writer.h"
#include "text/shown_text.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// 8 KiB: headers, then two segments of 2 KiB each at 0x100000 and 0x200000 (the second
// followed by zero-filled memory), then 2 KiB no segment loads.
const Bytes& executable() {
    static const Bytes elf = [] {
        Bytes b(0x2800, 0x5A);
        std::fill_n(b.begin(), 0x1000, std::uint8_t{0});
        const std::uint8_t ident[] = {0x7F, 'E', 'L', 'F', 1, 1, 1};
        for (std::size_t i = 0; i < sizeof ident; ++i)
            b[i] = ident[i];
        put32(b, 28, 52);
        b[42] = 32;
        b[44] = 2;
        const std::uint32_t segments[2][4] = {{0x1000, 0x100000, 0x800, 0x800},
                                              {0x1800, 0x200000, 0x800, 0x1000}};
        for (std::size_t i = 0; i < 2; ++i) {
            const std::size_t at = 52 + 32 * i;
            put32(b, at, 1);
            put32(b, at + 4, segments[i][0]);
            put32(b, at + 8, segments[i][1]);
            put32(b, at + 16, segments[i][2]);
            put32(b, at + 20, segments[i][3]);
        }
        return b;
    }();
    return elf;
}

const vorlan::ByteRanges kTables{{0x1100, 0x1700}, {0x1900, 0x1F00}};
const vorlan::ByteRanges kSegments{{0x1000, 0x2000}};

void checkMessage(const std::string& message) {
    std::istringstream lines(message);
    for (std::string line; std::getline(lines, line);) {
        if (vorlan::hasControls(line))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    try {
        for (const vorlan::LoadSegment& s : vorlan::loadSegments(input)) {
            if (s.offset + s.fileSize > size || s.fileSize > s.memorySize)
                std::abort();
        }
    } catch (const vorlan::PatchError& e) {
        checkMessage(e.what());
    }
    const Bytes& source = executable();
    try {
        const Bytes patched = vorlan::applyPnach(input, source, kTables);
        if (patched.size() != source.size())
            std::abort();
        for (std::size_t i = 0; i < source.size(); ++i) {
            const bool table = (i >= 0x1100 && i < 0x1700) || (i >= 0x1900 && i < 0x1F00);
            if (patched[i] != source[i] && !table)
                std::abort();
        }
    } catch (const vorlan::PatchError& e) {
        checkMessage(e.what());
    }
    // Pairs of (place, byte) change the segments' bytes, in the tables and outside them.
    Bytes target = source;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        target[0x1000 + static_cast<std::size_t>(data[i]) * 16 + (data[i + 1] & 15)] = data[i + 1];
    if (target == source)
        return 0;
    const std::string text = vorlan::makePnach(source, target, kTables, nullptr);
    const Bytes back = vorlan::applyPnach(Bytes(text.begin(), text.end()), source, kSegments);
    if (back != target)
        std::abort();
    return 0;
}
