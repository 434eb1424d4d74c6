#pragma once
// What the program asks the system besides files: the local time for dated names, and the
// user's own folders.

#include <filesystem>
#include <string>

#include "text/shell_words.h"

namespace vorlan {

// The local time now, written with std::strftime's `format` ("%Y%m%d-%H%M%S"); "0" when the
// system cannot say.
std::string localTimeText(const char* format);

// The user's configuration folder: $XDG_CONFIG_HOME when absolute, else ~/.config (from
// $HOME, else the user's entry in the system's user list); on Windows %APPDATA%. Empty when
// none can be found.
std::filesystem::path userConfigFolder();

// The user's configuration folder as the system's own words name it to a person: "~/.config"
// on Linux, "%APPDATA%" on Windows; with the system's separator.
std::string userConfigPlace();
char pathSeparator();

// The shell a player pastes a suggested command into: sh and its kin on Linux, the Command
// Prompt (or PowerShell) on Windows.
Shell commandShell();

// Where the system keeps a user's own files for programs when it has one such folder
// (%APPDATA% on Windows); empty on Linux, where the XDG variables say it.
std::filesystem::path systemUserFilesFolder();

// The name the open file `fd` has now (after a rename); empty when the system does not say
// or it has none left.
std::filesystem::path currentNameOfOpenFile(int fd);

// The running program's own file, links resolved; empty when the system does not say.
std::filesystem::path runningProgramFile();

// For a message that refuses a file other users can reach, in the system's own words: what
// lets them in ("的权限是 0644" on Linux, the file's security settings on Windows) and how the
// user keeps the file to themselves (chmod 600; the 安全 page of the file's properties).
std::string othersAccessText(unsigned permissions);
std::string ownerOnlyAdvice();

// Makes every missing folder down to `folder`, each readable by its owner only. Throws
// IoError naming the one that cannot be made.
void makePrivateFolders(const std::filesystem::path& folder);

}  // namespace vorlan
