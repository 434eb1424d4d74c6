#pragma once
// The checks an executable passes before the editor adopts it: it opens for reading and
// writing, begins with the ELF magic, and is large enough to hold every table.

#include <filesystem>
#include <optional>
#include <string>

namespace vorlan {

inline constexpr std::uint64_t kExecutableSize = 3542016;  // the game's executable, byte for byte

// The reason the file is refused, or nothing when it can be opened.
std::optional<std::string> checkExecutable(const std::filesystem::path& path);

}  // namespace vorlan
