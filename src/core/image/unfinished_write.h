#pragma once
// "<image>.SLKV_618.04.replacing": made before a replace or restore writes the region and
// removed once the new bytes are flushed and read back. Found later, it says such a write
// was interrupted: the region may hold part of the new bytes, and the saved region it names
// holds the bytes from before. Check and replace refuse the image until it is restored.
//
// Content (text): "VORLAN-REPLACING 1", the image's device, inode and size, and the file
// name of the saved region, one a line.

#include <filesystem>
#include <optional>
#include <string>

#include "image/image_file.h"
#include "io/file_ops.h"

namespace vorlan {

std::filesystem::path unfinishedMarkerPath(const std::filesystem::path& realImage);

struct UnfinishedWrite {
    std::filesystem::path saved;  // the saved region holding the bytes from before
};

// The interrupted write the marker beside `image` tells of, or nothing. Throws
// ImageRefusal naming the marker when it is not a whole one of this program's for this image.
std::optional<UnfinishedWrite> findUnfinished(FileOps& ops, ImageFile& image);
// Throws IoError when the marker cannot be made (nothing is written then).
void markUnfinished(FileOps& ops, ImageFile& image, const std::filesystem::path& saved);
// Throws IoError when it cannot be removed.
void clearUnfinished(FileOps& ops, ImageFile& image);

// "上次替换没有完成…", with how to restore.
std::string unfinishedMessage(const UnfinishedWrite& unfinished,
                              const std::filesystem::path& image);

}  // namespace vorlan
