#pragma once
// A patch that cannot be made or applied. The text says why, for the user, naming the place
// in the patch (its byte offset) where there is one.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vorlan {

class PatchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest patch accepted: one that rewrote every byte of the executable as IPS
// records of a byte each would still be below this.
inline constexpr std::uint64_t kMaxPatchFile = 32u << 20;

// "1A2B3C4D": a CRC-32 or an offset as the messages show it.
std::string hex32(std::uint32_t value);

}  // namespace vorlan
