#pragma once
// What the program asks the system besides files: the local time for dated names, and the
// user's own folders.

#include <filesystem>
#include <string>

namespace vorlan {

// The local time now, written with std::strftime's `format` ("%Y%m%d-%H%M%S"); "0" when the
// system cannot say.
std::string localTimeText(const char* format);

// The user's configuration folder: $XDG_CONFIG_HOME when absolute, else ~/.config (from
// $HOME, else the user's entry in the system's user list). Empty when none can be found.
std::filesystem::path userConfigFolder();

// Makes every missing folder down to `folder`, each readable by its owner only. Throws
// IoError naming the one that cannot be made.
void makePrivateFolders(const std::filesystem::path& folder);

}  // namespace vorlan
