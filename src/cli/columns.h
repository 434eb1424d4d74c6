#pragma once
// Aligned text columns for the terminal: Chinese characters take two columns, so widths
// are counted in display columns, not bytes.

#include <string>
#include <string_view>
#include <vector>

namespace vorlan::cli {

// Terminal columns taken by a UTF-8 text (East Asian wide characters count two).
std::size_t displayWidth(std::string_view text);

// One line per row, each column padded to its widest cell; the last cell is not padded.
std::vector<std::string> alignColumns(const std::vector<std::vector<std::string>>& rows);

}  // namespace vorlan::cli
