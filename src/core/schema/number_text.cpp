#include "schema/number_text.h"

namespace vorlan {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Far beyond every field's range, and safe from overflow in 64 bits.
constexpr std::int64_t kMagnitudeLimit = 1'000'000'000'000'000LL;

}  // namespace

std::optional<std::int64_t> textToNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    std::int64_t whole = 0;
    std::size_t i = 0;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > kMagnitudeLimit)
            return std::nullopt;
    }

    // The fraction decides the rounding: above one half rounds up, exactly one half
    // rounds to the even neighbour, below one half rounds down.
    int firstFraction = -1;
    bool restNonZero = false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
            if (firstFraction < 0) {
                firstFraction = text[i] - '0';
            } else if (text[i] != '0') {
                restNonZero = true;
            }
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;

    if (firstFraction > 5 || (firstFraction == 5 && restNonZero) ||
        (firstFraction == 5 && !restNonZero && whole % 2 == 1)) {
        ++whole;
    }
    return negative ? -whole : whole;
}

bool roundsFraction(std::string_view text) {
    const auto point = text.find('.');
    // A valid number has only digits (and trailing blanks) after its point.
    return point != std::string_view::npos && textToNumber(text) &&
           text.find_first_of("123456789", point) != std::string_view::npos;
}

}  // namespace vorlan
