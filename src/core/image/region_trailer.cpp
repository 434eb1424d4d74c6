#include "image/region_trailer.h"

#include <algorithm>
#include <cstring>

namespace vorlan {

namespace {

constexpr char kMagic[8] = {'V', 'O', 'R', 'L', 'A', 'N', 'R', 'G'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kVolumeId = 32;

template <typename T>
void put(std::uint8_t* p, T v) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

template <typename T>
T get(const std::uint8_t* p) {
    T v = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        v = static_cast<T>(v << 8 | p[i]);
    return v;
}

// Offsets in the trailer.
constexpr std::size_t kVersionAt = 8, kSizeAt = 10, kSectorAt = 12, kLengthAt = 16,
                      kImageSizeAt = 24, kVolumeAt = 32, kRegionCrcAt = 64, kTrailerCrcAt = 68;
static_assert(kTrailerCrcAt + 4 == kTrailerSize);

}  // namespace

std::array<std::uint8_t, kTrailerSize> encodeTrailer(const RegionTrailer& t) {
    std::array<std::uint8_t, kTrailerSize> out{};
    std::memcpy(out.data(), kMagic, sizeof kMagic);
    put<std::uint16_t>(&out[kVersionAt], kVersion);
    put<std::uint16_t>(&out[kSizeAt], kTrailerSize);
    put(&out[kSectorAt], t.sector);
    put(&out[kLengthAt], t.length);
    put(&out[kImageSizeAt], t.imageSize);
    std::memcpy(&out[kVolumeAt], t.volumeId.data(), std::min(t.volumeId.size(), kVolumeId));
    put(&out[kRegionCrcAt], t.regionCrc);
    put(&out[kTrailerCrcAt], crc32Of(std::span(out).first(kTrailerCrcAt)));
    return out;
}

std::optional<RegionTrailer> parseTrailer(std::span<const std::uint8_t> b) {
    if (b.size() != kTrailerSize || std::memcmp(b.data(), kMagic, sizeof kMagic) != 0 ||
        get<std::uint16_t>(&b[kVersionAt]) != kVersion ||
        get<std::uint16_t>(&b[kSizeAt]) != kTrailerSize ||
        get<std::uint32_t>(&b[kTrailerCrcAt]) != crc32Of(b.first(kTrailerCrcAt)))
        return std::nullopt;
    RegionTrailer t;
    t.sector = get<std::uint32_t>(&b[kSectorAt]);
    t.length = get<std::uint32_t>(&b[kLengthAt]);
    t.imageSize = get<std::uint64_t>(&b[kImageSizeAt]);
    t.volumeId.assign(reinterpret_cast<const char*>(&b[kVolumeAt]), kVolumeId);
    t.regionCrc = get<std::uint32_t>(&b[kRegionCrcAt]);
    return t;
}

}  // namespace vorlan
