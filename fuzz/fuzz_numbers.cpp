// Fuzz target: the text-to-number conversion, checked against its own rounding rule.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "schema/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto n = vorlan::textToNumber(text)) {
        // Every value it gives lies far inside 64 bits.
        if (*n > 2'000'000'000'000'000'000LL || *n < -2'000'000'000'000'000'000LL)
            std::abort();
    }
    return 0;
}
