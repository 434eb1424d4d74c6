#pragma once
// The other names a file has in its own folder (hard links). The program keeps its side files
// (journal, saved regions, replace mark) beside the name a file was opened through; a file
// with several names is checked beside each of them, so that no name hides what another shows.

#include <filesystem>
#include <vector>

#include "io/file_ops.h"

namespace vorlan {

// Every entry of `file`'s folder that names the same file as `id` (device and inode), `file`
// itself left out. Empty when the file has one name. At most `limit` entries of the folder are
// looked at, so a crafted folder of millions of names costs a bounded time.
std::vector<std::filesystem::path> otherNamesOf(FileOps& ops, const std::filesystem::path& file,
                                                const FileIdentity& id, std::size_t limit = 100000);

}  // namespace vorlan
