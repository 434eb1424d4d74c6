#pragma once
// The checks an executable passes before the editor adopts it: it opens for reading and
// writing, begins with the ELF magic, and is large enough to hold every table.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vorlan {

inline constexpr std::uint64_t kExecutableSize = 3542016;  // the game's executable, byte for byte

// What is wrong with a file of `size` bytes beginning with `magic`, or nothing.
std::optional<std::string> contentProblem(const std::filesystem::path& path, std::uint64_t size,
                                          const std::array<std::uint8_t, 4>& magic);

// The reason the file is refused as the executable to edit, or nothing when it can be opened.
std::optional<std::string> checkExecutable(const std::filesystem::path& path);

}  // namespace vorlan
