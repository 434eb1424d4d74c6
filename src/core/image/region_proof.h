#pragma once
// What a candidate saved region file proves: the verdict on its bytes (the region, then a
// trailer, region_trailer.h) for one image, under this user's key. The reader of saved
// regions (saved_regions.h) turns each verdict into use or a refusal naming the file.

#include <cstdint>
#include <optional>
#include <span>

#include "image/region_key.h"
#include "image/region_trailer.h"

namespace vorlan {

// Where a region lies in the image, and the image it must belong to.
struct RegionPlace {
    std::uint32_t sector = 0;
    std::uint64_t length = 0;
    ImageFacts image;
};

enum class RegionVerdict {
    Ours,         // saved by this program under this user's key, for this image, whole
    Foreign,      // whole and for this image, but saved under another key or by an earlier
                  // version whose trailer has no key (`unkeyed`)
    Altered,      // names this user's key but its MAC fails, or a CRC fails: changed since
    OtherImage,   // whole, but saved for another image
    WrongPlace,   // records another sector or length than the region's
    NoTrailer,    // of a saved file's length, but no trailer of this program's
    WrongLength,  // not of a saved file's length
};

struct RegionProof {
    RegionVerdict verdict = RegionVerdict::WrongLength;
    bool unkeyed = false;                  // Foreign: a version-1 trailer
    std::optional<RegionTrailer> trailer;  // when one was read
};

// The verdict on `file`, the whole bytes of a candidate saved region for `place`.
RegionProof proveRegion(std::span<const std::uint8_t> file, const RegionPlace& place,
                        const RegionKey& key);

}  // namespace vorlan
