#pragma once
// The saved region file (".orig"): the region's raw bytes first, so that its first 3542016
// bytes are the executable as it was, then a small trailer saying what it belongs to: the
// image's volume identifier and size, the region's sector and length, a CRC-32 of the
// region's bytes, and a CRC-32 of the trailer itself.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "io/crc32.h"

namespace vorlan {

inline constexpr std::size_t kTrailerSize = 72;

struct RegionTrailer {
    std::uint32_t sector = 0;
    std::uint32_t length = 0;
    std::uint64_t imageSize = 0;
    std::string volumeId;  // the primary volume descriptor's 32 bytes, as they are
    std::uint32_t regionCrc = 0;
    bool operator==(const RegionTrailer&) const = default;
};

std::array<std::uint8_t, kTrailerSize> encodeTrailer(const RegionTrailer& trailer);
// Nothing unless `bytes` is exactly a trailer this program wrote, whole.
std::optional<RegionTrailer> parseTrailer(std::span<const std::uint8_t> bytes);

}  // namespace vorlan
