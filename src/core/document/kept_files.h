#pragma once
// The files an output of the player's (an export, a patch, …) must never replace: the
// executable by any of its names, and every side file the program keeps beside it.

#include <filesystem>

#include "io/output_file.h"

namespace vorlan {

// The executable at `exe` (resolved through links; nothing when it cannot be found or `exe`
// is empty) and its backups, journal and the fresh names they are made under; and, whatever
// `exe`, any file that is a journal of this program's.
KeptFiles keptFilesOf(const std::filesystem::path& exe);

}  // namespace vorlan
