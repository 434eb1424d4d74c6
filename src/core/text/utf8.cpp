#include "text/utf8.h"

namespace vorlan::utf8 {

namespace {

// Length of the sequence that starts with `lead`, or 0 when it cannot start one.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

}  // namespace

namespace {

// Whether a whole sequence of `n` bytes starts at `i`.
bool wellFormed(std::string_view bytes, std::size_t i, std::size_t n) {
    if (n == 0 || i + n > bytes.size())
        return false;
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
            return false;
    }
    if (n > 1) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        // Overlong forms, surrogates and code points above U+10FFFF.
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
            return false;
        }
    }
    return true;
}

}  // namespace

Scan scan(std::string_view bytes) {
    Scan result;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = sequenceLength(static_cast<unsigned char>(bytes[i]));
        if (!wellFormed(bytes, i, n)) {
            if (result.bad++ == 0)
                result.firstBad = i;
            ++i;
            continue;
        }
        result.multibyte += n > 1 ? 1 : 0;
        i += n;
    }
    return result;
}

std::size_t wellFormedLength(std::string_view bytes, std::size_t i) {
    if (i >= bytes.size())
        return 0;
    const std::size_t n = sequenceLength(static_cast<unsigned char>(bytes[i]));
    return wellFormed(bytes, i, n) ? n : 0;
}

bool isValid(std::string_view bytes) {
    return scan(bytes).bad == 0;
}

std::size_t characterLength(std::string_view text, std::size_t i) {
    const std::size_t n = sequenceLength(static_cast<unsigned char>(text[i]));
    return n == 0 || i + n > text.size() ? 1 : n;  // keep going over stray bytes
}

std::vector<std::string> characters(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
        n = characterLength(text, i);
        out.emplace_back(text.substr(i, n));
    }
    return out;
}

std::size_t length(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

}  // namespace vorlan::utf8
