#pragma once
// The saved region file (".orig"): the region's raw bytes first, so that its first 3542016
// bytes are the executable as it was, then a trailer saying what it belongs to and who saved
// it: the image's volume identifier and size, the region's sector and length, a CRC-32 of
// the region's bytes, the id of the key that saved it, an HMAC-SHA-256 (region_key.h) of
// every field before it and of the region, and a CRC-32 of the trailer itself.
//
// Trailers of version 1 (earlier versions of the program, 72 bytes) hold the same facts
// without key id and MAC: anyone can make one, so they are read only to say what they are.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/region_key.h"

namespace vorlan {

inline constexpr std::size_t kTrailerSize = 112;
inline constexpr std::size_t kUnkeyedTrailerSize = 72;  // version 1

// What a saved region must match of the image it belongs to.
struct ImageFacts {
    std::string volumeId;  // the primary volume descriptor's 32 bytes
    std::uint64_t size = 0;
};

struct RegionTrailer {
    std::uint16_t version = 2;
    std::uint32_t sector = 0;
    std::uint32_t length = 0;
    std::uint64_t imageSize = 0;
    std::string volumeId;  // the primary volume descriptor's 32 bytes, as they are
    std::uint32_t regionCrc = 0;
    RegionKeyId keyId{};  // version 2 only
    RegionMac mac{};      // version 2 only
    bool operator==(const RegionTrailer&) const = default;
};

// A version-2 trailer for `region` with the facts of `trailer`; its region CRC, key id and
// MAC are computed here, under `key`.
std::array<std::uint8_t, kTrailerSize> encodeTrailer(const RegionTrailer& trailer,
                                                     std::span<const std::uint8_t> region,
                                                     const RegionKey& key);
// Nothing unless `bytes` is exactly a trailer of either version, whole (its own CRC right).
std::optional<RegionTrailer> parseTrailer(std::span<const std::uint8_t> bytes);
// Whether the MAC in the version-2 trailer `bytes` is that of its fields and `region`.
bool trailerMacVerifies(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> region,
                        const RegionKey& key);
// The key id that version-2 trailer bytes name, even when their CRC is wrong (an altered
// trailer still says whose it claims to be); nothing for bytes of another form.
std::optional<RegionKeyId> claimedKeyId(std::span<const std::uint8_t> bytes);

}  // namespace vorlan
