#pragma once
// Text-to-number conversion of the decimal fields: optional sign, surrounding blanks,
// and a fraction turned into the nearest integer with a tie going to the even one.
// Any other text has no value.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorlan {

std::optional<std::int64_t> textToNumber(std::string_view text);

// Whether reading `text` as above rounds a fraction away: "12345.5" does, "12345.0" does not.
bool roundsFraction(std::string_view text);

}  // namespace vorlan
