#pragma once
// Character tables in the ".tbl" form of other tools: "XXXX=字", the code as four hexadecimal
// digits in stored order, then the character. Blank lines and lines starting with ';' or '#'
// are skipped. Read into entries of the form the data folder's string.txt has ("XXXX字"), in
// file order, so that a table decodes and looks up exactly as string.txt in the same order.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// A line (or an entry) that is not a code and one character; the text names its number.
class TblError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every four-digit code once, with room for the same code twice in a few places.
inline constexpr std::size_t kMaxTblEntries = 1u << 17;

// The entries of a UTF-8 .tbl text, hex digits in upper case. Throws TblError naming the
// first malformed line, or when there is no entry or too many.
std::vector<std::string> parseTbl(std::string_view text);

// The .tbl text of character table entries, one "XXXX=字" line each. Throws TblError naming
// the first entry (from 1) that is not four hex digits and one character.
std::string formatTbl(const std::vector<std::string>& entries);

}  // namespace vorlan
