#include "bulk/pnach_name.h"

#include "access/byte_order.h"
#include "bulk/patch_error.h"

namespace vorlan {

std::string pnachSerial(std::string_view executableName) {
    std::string serial;
    for (const char c : executableName) {
        if (c != '.')
            serial += c == '_' ? '-' : c;
    }
    return serial;
}

std::uint32_t pnachCrc(std::span<const std::uint8_t> executable) {
    std::uint32_t crc = 0;
    for (std::size_t at = 0; at + 4 <= executable.size(); at += 4) {
        crc ^= loadLe<std::uint32_t>(executable.subspan(at));
    }
    return crc;
}

std::string pnachFileName(std::span<const std::uint8_t> original) {
    return pnachSerial(kDiscExecutableName) + "_" + hex32(pnachCrc(original)) + ".pnach";
}

}  // namespace vorlan
