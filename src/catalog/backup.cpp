#include "catalog/backup.h"

namespace vorlan {

BackupResult backupExecutable(const std::filesystem::path& exe) {
    namespace fs = std::filesystem;
    BackupResult result;
    result.path = exe;
    result.path += ".bak";
    std::error_code ec;
    if (fs::exists(fs::symlink_status(result.path, ec))) {
        // An earlier backup is kept as it is; anything else in its place is left alone.
        if (fs::is_regular_file(fs::status(result.path, ec)))
            return result;
        result.ok = false;
        result.error = "该位置已有同名的其他文件或文件夹";
        return result;
    }
    fs::copy_file(exe, result.path, fs::copy_options::none, ec);
    if (ec) {
        result.ok = false;
        result.error = ec.message();
        // Nothing was there before, so whatever is there now is our own half copy.
        std::error_code ignored;
        fs::remove(result.path, ignored);
        return result;
    }
    result.created = true;
    return result;
}

}  // namespace vorlan
