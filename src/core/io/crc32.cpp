#include "io/crc32.h"

#include <libdeflate.h>

namespace vorlan {

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes) {
    return libdeflate_crc32(0, bytes.data(), bytes.size());
}

std::uint32_t crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    return libdeflate_crc32(crc, bytes.data(), bytes.size());
}

}  // namespace vorlan
