#include "bulk/patch_error.h"

#include <cstdio>

namespace vorlan {

std::string hex32(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace vorlan
