#pragma once
// Building blocks of the demo executable: a fixed pseudo-random stream, little-endian
// writes into a byte range, and names turned into game text codes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "access/byte_order.h"
#include "schema/table_def.h"

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
    void u32(std::size_t offset, std::uint32_t value) { storeLe(bytes_.subspan(offset, 4), value); }
    void zero(std::size_t offset, std::size_t size);
    // The name's codes, then zero bytes up to `width`.
    void name(std::size_t offset, std::size_t width, const std::vector<std::uint8_t>& codes);

private:
    std::span<std::uint8_t> bytes_;
};

// An entry's fields written by their keys, where the table's definition puts them: the
// demo says "hp" and the definition says which bytes, so the two cannot drift apart.
class FieldWriter {
public:
    FieldWriter(std::span<std::uint8_t> entry, const TableDef& table)
        : bytes_(entry), table_(table) {}

    // `value` in the field's bytes, little-endian; a field owning some bits of a byte gets
    // `value` in those bits (counted from the lowest), the byte's other bits kept.
    void set(const std::string& key, std::uint32_t value);
    // Zeroes every byte of the field, bits other fields or none own included.
    void clear(const std::string& key);
    // The name's codes, then zero bytes up to the field's width.
    void name(const std::string& key, const std::vector<std::uint8_t>& codes);
    // The whole entry as bytes, for what no field shows.
    ByteWriter bytes() const { return ByteWriter(bytes_); }

private:
    const FieldDef& field(const std::string& key) const;
    std::span<std::uint8_t> bytes_;
    const TableDef& table_;
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
