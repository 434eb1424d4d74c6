#pragma once
// The restore command a message suggests: "vorlan-cli iso restore IMAGE [--from FILE]
// [--trust-foreign]", each name quoted for the shell it is pasted in (text/shell_words.h).
// When a name cannot be pasted safely, the command's form with 镜像 and 文件 in their places
// and why: no line the player copies ever runs anything but vorlan-cli on those files.

#include <filesystem>
#include <string>

#include "text/shell_words.h"

namespace vorlan {

std::string restoreCommand(const std::filesystem::path& image, Shell shell,
                           const std::filesystem::path& from = {}, bool trustForeign = false);
// The same for the shell of this system.
std::string restoreCommand(const std::filesystem::path& image,
                           const std::filesystem::path& from = {}, bool trustForeign = false);

}  // namespace vorlan
