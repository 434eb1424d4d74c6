#pragma once
// The image's ISO 9660 structures walked in full, with a bound on everything a hostile image
// could make large (descriptors, path tables, directories, entries, depth): every volume
// descriptor, path table, directory and file extent must lie outside the executable's
// sectors, except the executable's own extent, which the primary root directory must give
// as sector 362 with 3542016 bytes.

#include <cstdint>
#include <functional>
#include <span>

#include "image/directory_report.h"

namespace vorlan {

// Reads exactly out.size() bytes at `offset` of the image; false when it cannot.
using ReadImage = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> out)>;

DirectoryReport walkIso9660(const ReadImage& read, std::uint64_t imageSize);

}  // namespace vorlan
