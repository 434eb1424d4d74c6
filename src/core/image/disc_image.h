#pragma once
// The game's disc image: the check that it holds the game executable exactly where the
// replacement writes (`checkiso`), the replacement itself, and putting a saved region back.
// The executable lies in the image at sector 362 (offset 741376), 3542016 bytes long.
//
// Beyond the ELF magic at that offset, the check asks the image's own directories (every
// ISO 9660 structure, and UDF where present, read in a child process) that SLKV_618.04
// starts at that sector with that length and that nothing else lies in its sectors, because
// a write at the wrong place destroys a disc image. Check and write go through one open
// descriptor of the real file, and a file moved or swapped into its place is never written.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "io/file_ops.h"

namespace vorlan {

inline constexpr std::uint64_t kImageExeOffset = 741376;  // sector 362 of 2048 bytes
inline constexpr std::uint64_t kImageExeLength = 3542016;
inline constexpr std::uint32_t kImageExeSector = 362;
// The first sector past the executable: its last sector (2091) is half written, so counts.
inline constexpr std::uint64_t kImageExeEndSector =
    kImageExeSector + (kImageExeLength + 2047) / 2048;

// The refusal of an image without the executable at its place.
inline constexpr const char* kNotAnImage =
    "你打开的不是符合格式的VORLAN镜像文件,请重新选择正确的镜像文件";

// "<image>.SLKV_618.04.orig": the region as it was before the first replacement (the disc's
// own executable). Later regions are saved beside it with a date in the name.
std::filesystem::path savedRegionPath(const std::filesystem::path& image);

// The names of the saved regions beside `image` (unverified: for enabling "恢复").
std::vector<std::filesystem::path> savedRegionFiles(const std::filesystem::path& image);

struct ImageWrite {
    bool ok = false;
    bool imageChanged = false;  // on failure: the region may hold part of the new bytes
    std::string message;
    std::filesystem::path saved;     // where the region that was overwritten is kept
    std::filesystem::path restored;  // restore: the saved region put back
    // Restore refused: the chosen saved region is whole but was saved elsewhere (another
    // user's key, or an earlier version's); a restore trusting it may write it.
    std::filesystem::path foreign;
    std::string note;  // success: more to tell (a region adopted, foreign ones left)
    // Success, with something left to do: the region is written and verified, but the mark
    // of a write under way could not be removed (what it is, and how to clear it).
    std::string warning;
};

using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Writes `executable` (exactly kImageExeLength bytes) over the region: checks the image,
// saves the region about to be overwritten unless a saved one holds it, writes through the
// same handle, never changing the image's length, flushes, reads back, compares.
ImageWrite replaceExecutable(const std::filesystem::path& image,
                             const std::vector<std::uint8_t>& executable,
                             const Progress& progress = {}, FileOps* ops = nullptr);

// Puts a saved region back: `from` (one of savedRegionFiles) or, when empty, the first one.
// The current region is saved first unless a saved one holds it, so a restore can be undone.
// `trustForeign` (only with `from`, on the user's word): `from` may be a whole region saved
// elsewhere; it is written after the same checks and then given this user's trailer, and
// other such regions beside the image are left as they are instead of stopping the restore.
ImageWrite restoreRegion(const std::filesystem::path& image, const Progress& progress = {},
                         FileOps* ops = nullptr, const std::filesystem::path& from = {},
                         bool trustForeign = false);

}  // namespace vorlan
