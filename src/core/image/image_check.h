#pragma once
// `checkiso`: whether an image holds the game executable exactly where the replacement
// writes. The check of an open image: its length, sector format, volume descriptor, the ELF
// magic at the executable's place, and its directories (directory_reader.h).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/directory_reader.h"
#include "image/image_file.h"
#include "image/saved_regions.h"

namespace vorlan {

struct ImageCheck {
    bool ok = false;
    std::string message;  // why the image is refused, in Chinese
};

// Opens the image read-only and never creates a file. `requireElf`: the executable region
// must begin with the ELF magic (a restore after a failed replace does not ask for it).
ImageCheck checkImage(const std::filesystem::path& image, bool requireElf = true,
                      FileOps* ops = nullptr);

// Throws ImageRefusal with the reason the image cannot be written; returns what the saved
// regions must match.
ImageFacts inspectImage(ImageFile& image, bool requireElf, DirectoryReading how);

// What may be written into the executable's region of an image: only the game's kind of
// executable, whole (exactly 3542016 bytes of a 32-bit little-endian MIPS ELF file); a region
// written with anything else leaves a disc that does not start. Why `bytes` may not be
// written, in Chinese, naming `source` (where they come from), or nothing.
std::optional<std::string> regionContentProblem(std::span<const std::uint8_t> bytes,
                                                const std::string& source);

// checkImage with the ISO 9660 directories read in the program itself and no UDF read at
// all: for the fuzzer, which cannot follow a child process.
ImageCheck checkImageInProcess(const std::filesystem::path& image, bool requireElf = true);

}  // namespace vorlan
