#pragma once
// What the content of an executable must show before the editor adopts it: the ELF magic,
// and a size large enough to hold every table. The document makes these checks when it
// opens the file and again before every write.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vorlan {

inline constexpr std::uint64_t kExecutableSize = 3542016;  // the game's executable, byte for byte

// The first bytes of an ELF file that tell what it is for.
using ElfHeader = std::array<std::uint8_t, 20>;

// What is wrong with a file of `size` bytes beginning with `header`, or nothing: it must
// hold at least `minimumSize` bytes (the end of the last table) and be a 32-bit
// little-endian MIPS ELF file, as a PlayStation 2 executable is.
std::optional<std::string> contentProblem(const std::filesystem::path& path, std::uint64_t size,
                                          const ElfHeader& header, std::uint64_t minimumSize);

}  // namespace vorlan
