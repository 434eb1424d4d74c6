#pragma once
// Reading a patch, or the original copy a patch is made from, whole and bounded: a regular
// file of at most the given size, never a pipe waited on or a huge file read into memory.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vorlan {

// The largest patch accepted: one that rewrote every byte of the executable as IPS
// records of a byte each would still be below this.
inline constexpr std::uint64_t kMaxPatchFile = 32u << 20;

// The file's bytes. `what` names it in messages ("补丁文件"). Throws PatchError when it is
// missing, not a regular file, larger than `maxBytes`, or unreadable.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                                        const std::string& what);

}  // namespace vorlan
