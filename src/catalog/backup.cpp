#include "catalog/backup.h"

namespace vorlan {

BackupResult backupExecutable(const std::filesystem::path& exe) {
    BackupResult result;
    result.path = exe;
    result.path += ".bak";
    std::error_code ec;
    if (std::filesystem::exists(result.path, ec))
        return result;
    std::filesystem::copy_file(exe, result.path, std::filesystem::copy_options::none, ec);
    if (ec) {
        result.ok = false;
        result.error = ec.message();
        std::filesystem::remove(result.path, ec);  // never leave a half copy behind
        return result;
    }
    result.created = true;
    return result;
}

}  // namespace vorlan
