#pragma once
// What the content of an executable must show before the editor adopts it: the ELF magic,
// and a size large enough to hold every table. The document (document/document.h) makes
// these checks when it opens the file and again before every write.

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

}  // namespace vorlan
