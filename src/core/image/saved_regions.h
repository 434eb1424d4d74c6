#pragma once
// The regions saved beside an image before they were overwritten. The disc's own executable
// (the first region saved) is kept as "<image>.SLKV_618.04.orig"; a later region is saved
// only when it differs from every saved one, as "<image>.SLKV_618.04.<date>.orig", and only
// the first and the latest are kept. Every saved file must prove itself (its trailer, see
// region_trailer.h, and openSideFile's rules) before it is used, and one that does not
// stops the replace or restore with a message naming it: none is overwritten or ignored.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image_file.h"
#include "io/file_ops.h"
#include "io/posix_file.h"

namespace vorlan {

// What a saved region must match of the image it belongs to.
struct ImageFacts {
    std::string volumeId;  // the primary volume descriptor's 32 bytes
    std::uint64_t size = 0;
};

struct SavedRegion {
    std::filesystem::path path;
    bool first = false;
    FileIdentity identity;
    std::vector<std::uint8_t> bytes;  // the region, verified against its trailer
};

class SavedRegions {
public:
    // Reads and verifies every saved region of the image; throws ImageRefusal naming the
    // first file that is not a whole one of this program's for this image.
    SavedRegions(FileOps& ops, ImageFile& image, const ImageFacts& facts);

    const std::vector<SavedRegion>& all() const { return saved_; }
    const SavedRegion* first() const;
    // The saved region that `path` names (compared as real files), or nullptr.
    const SavedRegion* find(const std::filesystem::path& path) const;

    // Saves `region` unless a saved one holds it already; returns the file that holds it.
    // Throws IoError when it cannot be saved.
    std::filesystem::path keep(std::vector<std::uint8_t> region);

    // The saved files, one a line, for a message.
    std::string list() const;

private:
    FileOps& ops_;
    ImageFile& image_;
    ImageFacts facts_;
    std::vector<SavedRegion> saved_;
};

}  // namespace vorlan
