#pragma once
// IPS patches: "PATCH", records (3-byte big-endian offset, 2-byte big-endian size, the bytes;
// size 0 is a run: 2-byte length and one byte), "EOF". Offsets lie below 16 MiB, and no
// record starts at 0x454F46, which reads as "EOF".
//
// Applied here only to a file of fixed length: a record past the end, or the truncation
// length some tools put after "EOF", is refused, as is any malformed or truncated patch.

#include <cstdint>
#include <span>
#include <vector>

namespace vorlan {

// `source` with the patch's records written over it. Throws PatchError naming the patch's
// byte offset where it is bad.
std::vector<std::uint8_t> applyIps(std::span<const std::uint8_t> patch,
                                   std::span<const std::uint8_t> source);

// A patch turning `source` into `target`, both of one length below 16 MiB; long runs of one
// byte become run records. Throws PatchError otherwise.
std::vector<std::uint8_t> makeIps(std::span<const std::uint8_t> source,
                                  std::span<const std::uint8_t> target);

}  // namespace vorlan
