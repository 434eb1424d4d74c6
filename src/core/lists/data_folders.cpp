#include "lists/data_folders.h"

#include <cstdlib>
#include <system_error>

#include "io/path_text.h"
#include "io/system_facts.h"
#include "lists/char_file.h"
#include "lists/name_lists.h"

// The installed data folder relative to the installed programs; CMake derives it from the
// install layout.
#ifndef VORLAN_INSTALLED_DATA_DIR
#define VORLAN_INSTALLED_DATA_DIR "../share/vorlan/data"
#endif

namespace vorlan {

namespace {

bool isFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool holdsAnyList(const std::filesystem::path& folder) {
    for (const ListFile& list : {kUnitList, kPilotList, kCharList, kSkillList}) {
        std::error_code ec;
        if (std::filesystem::exists(folder / list.name, ec))
            return true;
    }
    std::error_code ec;
    return std::filesystem::exists(folder / kCharTblName, ec);
}

bool set(const char* value) {
    return value != nullptr && *value != '\0';
}

}  // namespace

std::filesystem::path runningProgramFolder(const char* argv0) {
    std::filesystem::path self = runningProgramFile();
    if (self.empty()) {
        std::error_code ec;
        self = std::filesystem::absolute(textPath(argv0 != nullptr ? argv0 : ""), ec);
    }
    return self.parent_path();
}

std::filesystem::path programDataFolder(const std::filesystem::path& programDir) {
    std::filesystem::path beside = programDir / "data";
    if (isFolder(beside))
        return beside;
    const std::filesystem::path installed =
        (programDir / VORLAN_INSTALLED_DATA_DIR).lexically_normal();
    // Neither: the folder beside the program is the one messages name.
    return isFolder(installed) ? installed : beside;
}

std::filesystem::path userDataFolder(const char* xdgDataHome, const char* home) {
    // XDG_DATA_HOME must be absolute to count, as the base directory rules say.
    if (set(xdgDataHome) && *xdgDataHome == '/')
        return std::filesystem::path(xdgDataHome) / "vorlan" / "data";
    if (set(home))
        return std::filesystem::path(home) / ".local" / "share" / "vorlan" / "data";
    return {};
}

std::filesystem::path userDataFolder() {
    if (const auto own = systemUserFilesFolder(); !own.empty())
        return own / "vorlan" / "data";
    return userDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

DataFolders findDataFolders(const std::filesystem::path& programDir,
                            const std::filesystem::path& userFolder) {
    const std::filesystem::path own = programDataFolder(programDir);
    if (!userFolder.empty() && isFolder(userFolder) && holdsAnyList(userFolder))
        return {ListFolder(userFolder, own), own};
    return {ListFolder(own), own};
}

}  // namespace vorlan
