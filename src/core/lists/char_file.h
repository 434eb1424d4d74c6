#pragma once
// Where the character table comes from: the data folder's string.txt, its string.tbl when
// there is no string.txt, or a file the user chose (a ".tbl" of another tool, or a list in
// string.txt's form).

#include <filesystem>
#include <string>
#include <vector>

#include "lists/list_folder.h"

namespace vorlan {

inline constexpr const char* kCharTblName = "string.tbl";

// A character table file: ".tbl" (in any case) as "XXXX=字" lines, anything else in the form
// of string.txt. Throws DataFileError naming the file (and the line of a malformed .tbl).
std::vector<std::string> readCharFile(const std::filesystem::path& path);

// `chosen` when it is not empty; otherwise string.txt of the first folder of `lists` that
// holds string.txt or string.tbl (string.txt first within a folder). Throws DataFileError.
std::vector<std::string> readCharTable(const ListFolder& lists,
                                       const std::filesystem::path& chosen = {});

}  // namespace vorlan
