#pragma once
// The regions saved beside an image before they were overwritten. The disc's own executable
// (the first region saved) is kept as "<image>.SLKV_618.04.orig"; a later region is saved
// only when it differs from every saved one, as "<image>.SLKV_618.04.<date>.orig". Once the
// image holds the new bytes and they were read back, the older dated ones go (prune): only
// the first, the latest and the one just put back are kept. Until then nothing is removed,
// so a write that fails or is killed leaves every saved region where it was. Every saved file must
// prove itself (its trailer and MAC under this user's key, see region_proof.h, and openSideFile's
// rules) before it is used, and one that does not stops the replace or restore with a message
// naming it: none is overwritten or ignored.
//
// A whole region saved elsewhere (another user's key, or an earlier version's trailer
// without one) is "foreign": it blocks replace and restore like the rest, except that a
// restore may write it on the user's word (the image moved from another computer). After
// that write it is given this user's trailer, in a new file put in its place, and counts as
// saved here from then on.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image_file.h"
#include "image/region_key.h"
#include "image/region_trailer.h"
#include "io/file_ops.h"
#include "io/posix_file.h"

namespace vorlan {

struct SavedRegion {
    std::filesystem::path path;
    bool first = false;
    FileIdentity identity;
    std::vector<std::uint8_t> bytes;  // the region, verified against its trailer
    bool foreign = false;             // whole, but not saved under this user's key
    bool unkeyed = false;             // foreign: saved by an earlier version, without a key
};

class SavedRegions {
public:
    // Reads and verifies every saved region of the image under `key`; throws ImageRefusal
    // naming the first file that is not a whole one of this program's for this image.
    // Foreign ones are read and marked: refuseForeign() refuses them.
    SavedRegions(FileOps& ops, ImageFile& image, const ImageFacts& facts, const RegionKey& key);

    // Throws ImageRefusal naming the first foreign region, saying why and how to go on.
    void refuseForeign() const;
    // Why `region` (a foreign one) is not used, and how to go on, naming it.
    std::string foreignMessage(const SavedRegion& region) const;
    // The foreign regions, one a line, for a message; empty when there is none.
    std::string foreignList() const;
    // Gives the foreign region at `path` this user's trailer: a new file takes the name,
    // when the name still holds the file that was verified. Throws IoError.
    void adopt(const std::filesystem::path& path);

    const std::vector<SavedRegion>& all() const { return saved_; }
    const SavedRegion* first() const;
    // The saved region that `path` names (compared as real files), or nullptr.
    const SavedRegion* find(const std::filesystem::path& path) const;

    // Saves `region` unless a saved one holds it already; returns the file that holds it.
    // Throws IoError when it cannot be saved. Removes nothing.
    std::filesystem::path keep(std::vector<std::uint8_t> region);
    // After a verified write: removes the dated regions of this program's other than `keep`
    // (the latest) and `restored` (the one the player put back), each only while its name
    // still holds the file verified as ours. A file that will not go simply stays.
    void prune(const std::filesystem::path& keep, const std::filesystem::path& restored = {});

    // The saved files, one a line, for a message.
    std::string list() const;

private:
    // The authenticated trailer a saved copy of `region` carries for this image and user.
    std::vector<std::uint8_t> trailerFor(const std::vector<std::uint8_t>& region) const;
    std::vector<std::uint8_t> fileBytes(const std::vector<std::uint8_t>& region) const;

    FileOps& ops_;
    ImageFile& image_;
    ImageFacts facts_;
    RegionKey key_;
    std::vector<SavedRegion> saved_;
};

// Removes what a killed replace or restore left under the fresh names of the saved regions of
// the image whose real path is `image` ("<saved>.….partial", dated ones too): plain files of
// this user's with one link. Call it holding the image's write lock.
void removeLeftoverSaves(FileOps& ops, const std::filesystem::path& image);

}  // namespace vorlan
