#pragma once
// BPS patches: "BPS1", the source size, target size and metadata as variable-length numbers
// and bytes, then actions (SourceRead, TargetRead, SourceCopy, TargetCopy), then the CRC-32 of
// the source, of the target and of the patch itself, little-endian.
//
// Every number and every action is checked against the patch's end and both files' bounds
// before it is followed; nothing larger than `maxTarget` is ever allocated.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

struct BpsHeader {
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    std::string metadata;
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
};

// Reads the header and footer and checks the patch's own CRC-32. Throws PatchError.
BpsHeader readBpsHeader(std::span<const std::uint8_t> patch);

// The target the patch makes of `source`. The source's size and CRC-32 must be the ones the
// patch names, the target at most `maxTarget` bytes, and the result's CRC-32 the one the
// patch names. Throws PatchError naming what differs (both CRC-32s) or where the patch is bad.
std::vector<std::uint8_t> applyBps(std::span<const std::uint8_t> patch,
                                   std::span<const std::uint8_t> source, std::uint64_t maxTarget);

// A patch turning `source` into `target`: SourceRead for bytes that stayed, TargetRead for
// the others.
std::vector<std::uint8_t> makeBps(std::span<const std::uint8_t> source,
                                  std::span<const std::uint8_t> target, std::string_view metadata);

}  // namespace vorlan
