#pragma once
// The safety copy made before the first write into an executable.

#include <filesystem>
#include <string>

namespace vorlan {

struct BackupResult {
    bool ok = true;        // false: the copy could not be made
    bool created = false;  // a new copy was made now (false when one existed already)
    std::filesystem::path path;
    std::string error;
};

// Copies `exe` to "<exe>.bak" beside it unless that file exists.
BackupResult backupExecutable(const std::filesystem::path& exe);

}  // namespace vorlan
