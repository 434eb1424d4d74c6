#include "image/region_proof.h"

#include "io/crc32.h"

namespace vorlan {

namespace {

RegionProof verdict(RegionVerdict v, std::optional<RegionTrailer> trailer = std::nullopt) {
    RegionProof p;
    p.verdict = v;
    p.trailer = std::move(trailer);
    return p;
}

}  // namespace

RegionProof proveRegion(std::span<const std::uint8_t> file, const RegionPlace& place,
                        const RegionKey& key) {
    if (file.size() != place.length + kTrailerSize &&
        file.size() != place.length + kUnkeyedTrailerSize)
        return verdict(RegionVerdict::WrongLength);
    const auto region = file.first(static_cast<std::size_t>(place.length));
    const auto tail = file.subspan(region.size());
    const bool claimsOurs = claimedKeyId(tail) == key.id();
    const auto trailer = parseTrailer(tail);
    if (!trailer)
        return verdict(claimsOurs ? RegionVerdict::Altered : RegionVerdict::NoTrailer);
    // The MAC first: under this user's key, every field below was written by this program.
    if (claimsOurs && !trailerMacVerifies(tail, region, key))
        return verdict(RegionVerdict::Altered, trailer);
    if (trailer->sector != place.sector || trailer->length != place.length)
        return verdict(RegionVerdict::WrongPlace, trailer);
    if (trailer->volumeId != place.image.volumeId || trailer->imageSize != place.image.size)
        return verdict(RegionVerdict::OtherImage, trailer);
    if (crc32Of(region) != trailer->regionCrc)
        return verdict(RegionVerdict::Altered, trailer);
    if (claimsOurs)
        return verdict(RegionVerdict::Ours, trailer);
    RegionProof foreign = verdict(RegionVerdict::Foreign, trailer);
    foreign.unkeyed = trailer->version == 1;
    return foreign;
}

}  // namespace vorlan
