#pragma once
// The entry syntax of the list files: an entry ends at a comma or at the end of a line (LF or
// CR LF); blanks in front of it are dropped; an entry in double quotes keeps its commas and
// blanks and loses the quotes. An empty line is one empty entry, so that with one name
// per line, line k + 1 names record k.

#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// The first `count` entries of the text (fewer when the text has fewer).
std::vector<std::string> parseEntries(std::string_view text, std::size_t count);

// The number (from 1) of the first line holding a CR that is not part of a CR LF, or 0 when
// none does. Such a CR is no line end here, and taken as one by some editors: with it in a
// list, no later name could be placed for sure.
std::size_t loneCarriageReturnLine(std::string_view text);

}  // namespace vorlan
