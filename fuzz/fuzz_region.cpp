// Fuzz target: the saved region reader over any candidate file — the trailer parse and the
// verdict under a fixed key. The region is 64 bytes here instead of 3542016 (nothing in the
// reader depends on its length but the length check), so that a run is quick. A file the
// reader calls this user's must be exactly what saving its region would write: nothing else
// may pass the MAC.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "image/region_proof.h"
#include "io/crc32.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorlan;
    static const RegionKey key(std::array<std::uint8_t, kRegionKeySize>{'f', 'u', 'z', 'z'});
    static const RegionPlace place{362, 64, ImageFacts{"VORLAN" + std::string(26, ' '), 4505600}};
    const std::span<const std::uint8_t> file(data, size);
    if (size >= kUnkeyedTrailerSize)
        parseTrailer(file.last(kUnkeyedTrailerSize));
    const RegionProof proof = proveRegion(file, place, key);
    if (proof.verdict != RegionVerdict::Ours && proof.verdict != RegionVerdict::Foreign)
        return 0;
    const auto region = file.first(static_cast<std::size_t>(place.length));
    if (!proof.trailer || crc32Of(region) != proof.trailer->regionCrc ||
        proof.trailer->volumeId != place.image.volumeId)
        std::abort();
    if (proof.verdict == RegionVerdict::Ours) {
        RegionTrailer t;
        t.sector = place.sector;
        t.length = static_cast<std::uint32_t>(place.length);
        t.imageSize = place.image.size;
        t.volumeId = place.image.volumeId;
        const auto saved = encodeTrailer(t, region, key);
        const auto tail = file.subspan(region.size());
        if (tail.size() != saved.size() || !std::equal(saved.begin(), saved.end(), tail.begin()))
            std::abort();
    }
    return 0;
}
