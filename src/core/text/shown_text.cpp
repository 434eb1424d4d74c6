#include "text/shown_text.h"

#include <cstdio>

#include "text/utf8.h"

namespace vorlan {

namespace {

// "\x1B" for a byte or a control up to U+00FF, "\u202E" beyond.
void appendCode(std::string& out, unsigned value) {
    char code[12];
    if (value > 0xFFu)
        std::snprintf(code, sizeof code, "\\u%04X", value & 0xFFFFu);
    else
        std::snprintf(code, sizeof code, "\\x%02X", value);
    out += code;
}

bool isC0OrDel(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// A well-formed two-byte sequence for U+0080 … U+009F.
bool isC1(std::string_view text, std::size_t i, std::size_t n) {
    return n == 2 && static_cast<unsigned char>(text[i]) == 0xC2 &&
           static_cast<unsigned char>(text[i + 1]) < 0xA0;
}

// The code point of a well-formed three-byte sequence when it is one of the characters that
// reorder or break the text around them: the bidirectional marks, embeddings, overrides and
// isolates (U+200E, U+200F, U+202A … U+202E, U+2066 … U+2069) and the line and paragraph
// separators (U+2028, U+2029). Shown raw, they make a name read as another (a reversed
// extension) or cut a line; else 0.
unsigned layoutControl(std::string_view text, std::size_t i, std::size_t n) {
    if (n != 3 || static_cast<unsigned char>(text[i]) != 0xE2)
        return 0;
    const unsigned cp = 0x2000u | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                        (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
    const bool hidden = cp == 0x200E || cp == 0x200F || (cp >= 0x2028 && cp <= 0x202E) ||
                        (cp >= 0x2066 && cp <= 0x2069);
    return hidden ? cp : 0;
}

// Walks `text` character by character; `shown(i, n)` gets each well-formed non-control
// character, `hidden(value)` each control (its code point) or stray byte. Stops after `limit`
// characters; returns where it stopped.
template <typename Shown, typename Hidden>
std::size_t walk(std::string_view text, std::size_t limit, Shown shown, Hidden hidden) {
    std::size_t i = 0;
    for (std::size_t count = 0; i < text.size() && count < limit; ++count) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = utf8::wellFormedLength(text, i);
        if (n == 0) {
            hidden(c, i, 1);
            i += 1;
        } else if (n == 1 && isC0OrDel(c)) {
            hidden(c, i, 1);
            i += 1;
        } else if (isC1(text, i, n)) {
            hidden(static_cast<unsigned char>(text[i + 1]), i, n);
            i += n;
        } else if (const unsigned cp = layoutControl(text, i, n)) {
            hidden(cp, i, n);
            i += n;
        } else {
            shown(i, n);
            i += n;
        }
    }
    return i;
}

}  // namespace

std::string escapeControls(std::string_view text, bool keepLineEnds) {
    std::string out;
    out.reserve(text.size());
    walk(
        text, text.size(), [&](std::size_t i, std::size_t n) { out.append(text.substr(i, n)); },
        [&](unsigned value, std::size_t i, std::size_t) {
            const bool layout = text[i] == '\n' || text[i] == '\t' ||
                                (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
            if (keepLineEnds && layout)
                out += text[i];
            else
                appendCode(out, value);
        });
    return out;
}

bool hasControls(std::string_view text) {
    bool found = false;
    walk(
        text, text.size(), [](std::size_t, std::size_t) {},
        [&](unsigned value, std::size_t, std::size_t) { found = found || value != '\t'; });
    return found;
}

std::string excerpt(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    const std::size_t end = walk(
        text, maxCharacters, [&](std::size_t i, std::size_t n) { out.append(text.substr(i, n)); },
        [&](unsigned value, std::size_t, std::size_t) { appendCode(out, value); });
    if (end < text.size())
        out += "…";
    return out;
}

}  // namespace vorlan
