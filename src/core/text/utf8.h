#pragma once
// UTF-8 helpers: validity, and splitting a text into its characters.

#include <string>
#include <string_view>
#include <vector>

namespace vorlan::utf8 {

bool isValid(std::string_view bytes);
// The byte length of the well-formed sequence that starts at `i`, or 0 when none does.
std::size_t wellFormedLength(std::string_view bytes, std::size_t i);

// How much of a text is well-formed UTF-8.
struct Scan {
    std::size_t multibyte = 0;  // well-formed sequences of two or more bytes
    std::size_t bad = 0;        // bytes that start no well-formed sequence
    std::size_t firstBad = std::string_view::npos;
};
Scan scan(std::string_view bytes);
// The characters (code points) of a valid UTF-8 text, each as its own UTF-8 string. A
// stray byte, or a sequence cut short by the end, counts as a character of one byte.
std::vector<std::string> characters(std::string_view text);
// The byte length of the character that starts at `i` (< text.size()), as `characters`
// splits the text.
std::size_t characterLength(std::string_view text, std::size_t i);
// The number of characters.
std::size_t length(std::string_view text);

}  // namespace vorlan::utf8
