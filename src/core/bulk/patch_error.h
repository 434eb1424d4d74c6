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

// "1A2B3C4D": a CRC-32 or an offset as the messages show it.
std::string hex32(std::uint32_t value);

}  // namespace vorlan
