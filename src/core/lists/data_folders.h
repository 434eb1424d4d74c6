#pragma once
// Where both programs find their data folder when none is given with --data:
//  - the name lists come from the player's own folder (see userDataFolder), file by file:
//    a list it does not hold comes from the program's data folder;
//  - the help texts always come from the program's data folder, which is `data` beside the
//    program (the build tree) or, when there is none, the installed one found from the
//    program's folder (`../share/vorlan/data` for a usual install), so an installed copy
//    can be moved as a whole.

#include <filesystem>

#include "lists/list_folder.h"

namespace vorlan {

struct DataFolders {
    ListFolder lists;            // the four name lists
    std::filesystem::path help;  // the usage guide and the table reference
};

// The folder of the running program (links resolved); `argv0` when the system does not say.
std::filesystem::path runningProgramFolder(const char* argv0);

// The data folder that came with the program in `programDir`.
std::filesystem::path programDataFolder(const std::filesystem::path& programDir);

// The player's own folder: $XDG_DATA_HOME/vorlan/data, else $HOME/.local/share/vorlan/data
// (either variable may be null or empty); empty when neither is set.
std::filesystem::path userDataFolder(const char* xdgDataHome, const char* home);
// The same from this process's environment; on Windows %APPDATA%\vorlan\data.
std::filesystem::path userDataFolder();

// The folders to use. `userFolder` may be empty (no per-user folder); when it holds a list
// file, the lists are read from it, each one it lacks from the program's folder.
DataFolders findDataFolders(const std::filesystem::path& programDir,
                            const std::filesystem::path& userFolder);

}  // namespace vorlan
