#include "image/region_trailer.h"

#include <algorithm>
#include <cstring>

#include "access/byte_order.h"
#include "io/crc32.h"

namespace vorlan {

namespace {

constexpr char kMagic[8] = {'V', 'O', 'R', 'L', 'A', 'N', 'R', 'G'};
constexpr std::uint16_t kKeyed = 2;
constexpr std::uint16_t kUnkeyed = 1;
constexpr std::size_t kVolumeId = 32;

template <typename T>
void put(std::uint8_t* p, T v) {
    storeLe({p, sizeof(T)}, v);
}

template <typename T>
T get(const std::uint8_t* p) {
    return loadLe<T>({p, sizeof(T)});
}

// Offsets in the trailer; both versions share the fields up to the region's CRC.
constexpr std::size_t kVersionAt = 8, kSizeAt = 10, kSectorAt = 12, kLengthAt = 16,
                      kImageSizeAt = 24, kVolumeAt = 32, kRegionCrcAt = 64, kKeyIdAt = 68,
                      kMacAt = 76;
constexpr std::size_t trailerCrcAt(std::size_t size) {
    return size - 4;
}
static_assert(kMacAt + kRegionMacSize + 4 == kTrailerSize);
static_assert(kKeyIdAt + 4 == kUnkeyedTrailerSize);

bool framed(std::span<const std::uint8_t> b, std::uint16_t version, std::size_t size) {
    return b.size() == size && std::memcmp(b.data(), kMagic, sizeof kMagic) == 0 &&
           get<std::uint16_t>(&b[kVersionAt]) == version && get<std::uint16_t>(&b[kSizeAt]) == size;
}

}  // namespace

std::array<std::uint8_t, kTrailerSize> encodeTrailer(const RegionTrailer& t,
                                                     std::span<const std::uint8_t> region,
                                                     const RegionKey& key) {
    std::array<std::uint8_t, kTrailerSize> out{};
    std::memcpy(out.data(), kMagic, sizeof kMagic);
    put<std::uint16_t>(&out[kVersionAt], kKeyed);
    put<std::uint16_t>(&out[kSizeAt], kTrailerSize);
    put(&out[kSectorAt], t.sector);
    put(&out[kLengthAt], t.length);
    put(&out[kImageSizeAt], t.imageSize);
    std::memcpy(&out[kVolumeAt], t.volumeId.data(), std::min(t.volumeId.size(), kVolumeId));
    put(&out[kRegionCrcAt], crc32Of(region));
    std::copy(key.id().begin(), key.id().end(), &out[kKeyIdAt]);
    const RegionMac mac = key.mac({std::span(out).first(kMacAt), region});
    std::copy(mac.begin(), mac.end(), &out[kMacAt]);
    put(&out[trailerCrcAt(kTrailerSize)],
        crc32Of(std::span(out).first(trailerCrcAt(kTrailerSize))));
    return out;
}

std::optional<RegionTrailer> parseTrailer(std::span<const std::uint8_t> b) {
    const bool keyed = framed(b, kKeyed, kTrailerSize);
    if ((!keyed && !framed(b, kUnkeyed, kUnkeyedTrailerSize)) ||
        get<std::uint32_t>(&b[trailerCrcAt(b.size())]) != crc32Of(b.first(trailerCrcAt(b.size()))))
        return std::nullopt;
    RegionTrailer t;
    t.version = keyed ? kKeyed : kUnkeyed;
    t.sector = get<std::uint32_t>(&b[kSectorAt]);
    t.length = get<std::uint32_t>(&b[kLengthAt]);
    t.imageSize = get<std::uint64_t>(&b[kImageSizeAt]);
    t.volumeId.assign(reinterpret_cast<const char*>(&b[kVolumeAt]), kVolumeId);
    t.regionCrc = get<std::uint32_t>(&b[kRegionCrcAt]);
    if (keyed) {
        std::copy_n(&b[kKeyIdAt], t.keyId.size(), t.keyId.begin());
        std::copy_n(&b[kMacAt], t.mac.size(), t.mac.begin());
    }
    return t;
}

bool trailerMacVerifies(std::span<const std::uint8_t> b, std::span<const std::uint8_t> region,
                        const RegionKey& key) {
    if (!framed(b, kKeyed, kTrailerSize))
        return false;
    RegionMac mac{};
    std::copy_n(&b[kMacAt], mac.size(), mac.begin());
    return key.verifies(mac, {b.first(kMacAt), region});
}

std::optional<RegionKeyId> claimedKeyId(std::span<const std::uint8_t> b) {
    if (!framed(b, kKeyed, kTrailerSize))
        return std::nullopt;
    RegionKeyId id{};
    std::copy_n(&b[kKeyIdAt], id.size(), id.begin());
    return id;
}

}  // namespace vorlan
