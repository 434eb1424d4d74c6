#pragma once
// Building blocks of the demo executable: a fixed pseudo-random stream, little-endian
// writes into a byte range, and names turned into game text codes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "access/byte_order.h"

namespace vorlan {

class CharTable;

namespace demo {

// A 64-bit linear congruential generator. Written out here rather than taken from <random>
// so that the demo bytes never depend on the standard library's version.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed ^ 0x9E3779B97F4A7C15ULL) {}

    std::uint32_t next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 32);
    }
    // A whole number from lo to hi, both included.
    int range(int lo, int hi) {
        return lo + static_cast<int>(next() % static_cast<std::uint32_t>(hi - lo + 1));
    }
    bool chance(int percent) { return range(0, 99) < percent; }
    // One element of a non-empty list.
    template <typename T, std::size_t N>
    T pick(const T (&items)[N]) {
        return items[next() % N];
    }

private:
    std::uint64_t state_;
};

// Little-endian writes at offsets inside one byte range (a record, a slot or a block).
class ByteWriter {
public:
    explicit ByteWriter(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

    ByteWriter sub(std::size_t offset, std::size_t size) const {
        return ByteWriter(bytes_.subspan(offset, size));
    }
    void u8(std::size_t offset, unsigned value) {
        bytes_[offset] = static_cast<std::uint8_t>(value);
    }
    void u16(std::size_t offset, unsigned value) { storeLe(bytes_.subspan(offset, 2), value); }
    // Two's complement, as the game stores signed 16-bit values.
    void s16(std::size_t offset, int value) { u16(offset, static_cast<unsigned>(value) & 0xFFFF); }
    void u32(std::size_t offset, std::uint32_t value) { storeLe(bytes_.subspan(offset, 4), value); }
    void zero(std::size_t offset, std::size_t size);
    // The name's codes, then zero bytes up to `width`.
    void name(std::size_t offset, std::size_t width, const std::vector<std::uint8_t>& codes);

private:
    std::span<std::uint8_t> bytes_;
};

// The game text codes of `text`, two bytes per character, at most `maxChars` characters.
// A character is left out when the table has no usable code for it: none at all, one that
// is not four hex digits, one holding a zero byte (it would end the name early), or one
// that does not decode back to the character.
std::vector<std::uint8_t> encodeName(const CharTable& chars, std::string_view text,
                                     std::size_t maxChars);

// The most characters a zero-padded name field of `width` bytes takes while keeping at
// least one whole zero code after the name.
inline constexpr std::size_t maxNameChars(std::size_t width) {
    return (width - 2) / 2;
}

}  // namespace demo
}  // namespace vorlan
