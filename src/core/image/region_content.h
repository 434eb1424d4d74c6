#pragma once
// What may be written into the executable's region of an image: only the game's kind of
// executable, whole — exactly 3542016 bytes of a 32-bit little-endian MIPS ELF file. A
// region written with anything else leaves a disc that does not start.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vorlan {

// Why `bytes` may not be written into the region, in Chinese, naming `source` (where they
// come from), or nothing.
std::optional<std::string> regionContentProblem(std::span<const std::uint8_t> bytes,
                                                const std::string& source);

}  // namespace vorlan
