#pragma once
// Text from files the player did not write (a downloaded list, a CSV cell, a name decoded
// from the executable) as a message may show it: terminal control characters (C0, DEL, C1)
// and bytes that are not UTF-8 become "\xNN", and the bidirectional controls and the line and
// paragraph separators "\uNNNN", so that nothing a file holds can move the cursor, retitle the
// terminal, hide the rest of a message or make a name read as another.

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan {

// `text` with every control character and stray byte shown as "\xNN" (or "\uNNNN"). Line ends
// ("\n",
// "\r\n") and tabs are kept when `keepLineEnds` (for whole messages and a program's output,
// whose own layout they are), else shown too; a lone "\r", which could overwrite a line, never.
std::string escapeControls(std::string_view text, bool keepLineEnds = false);

// Whether `text` holds a control character (C0 but tab, DEL, C1, the bidirectional and
// separator ones above) or a byte that is not UTF-8.
bool hasControls(std::string_view text);

// A value quoted in a message: escaped as above and cut to `maxCharacters` characters, with
// "…" when cut, so that a value of any size or shape gives a message of a line.
inline constexpr std::size_t kExcerptCharacters = 40;
std::string excerpt(std::string_view text, std::size_t maxCharacters = kExcerptCharacters);

}  // namespace vorlan
