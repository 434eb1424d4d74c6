#pragma once
// Numbers stored as bytes in either order: the executable, its ELF headers, saved-region
// trailers, journals and BPS patches are little-endian; IPS patches and the big-endian half
// of ISO 9660's both-order fields are big-endian. One place reads and writes them all.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorlan {

// The value of `bytes` (at most 8 of them), least significant first.
inline std::uint64_t loadLe(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

// The value of `bytes` (at most 8 of them), most significant first.
inline std::uint64_t loadBe(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t b : bytes)
        value = value << 8 | b;
    return value;
}

// A T from the first sizeof(T) bytes of `bytes`, which must hold that many.
template <std::unsigned_integral T>
T loadLe(std::span<const std::uint8_t> bytes) {
    return static_cast<T>(loadLe(bytes.first(sizeof(T))));
}
template <std::unsigned_integral T>
T loadBe(std::span<const std::uint8_t> bytes) {
    return static_cast<T>(loadBe(bytes.first(sizeof(T))));
}

// Writes the low out.size() bytes of `value` into `out`, least significant first.
inline void storeLe(std::span<std::uint8_t> out, std::uint64_t value) {
    for (std::uint8_t& b : out) {
        b = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
}

// Appends the low `width` bytes of `value` to `out`, in either order.
inline void appendLe(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
inline void appendBe(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = width; i-- > 0;)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace vorlan
