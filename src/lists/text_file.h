#pragma once
// Reading the text files of the data folder. Files are read as UTF-8 when they are valid
// UTF-8 (a byte-order mark is dropped) and as GBK otherwise, the code page in which
// players keep their lists.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// A data file that is missing, unreadable or not text; the message names the file.
class DataFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// UTF-8 text of the file's bytes. Throws DataFileError when they are neither UTF-8 nor GBK.
std::string decodeText(std::string_view bytes, const std::string& fileName);
// Reads and decodes a whole file. Throws DataFileError when it is missing or unreadable.
std::string readTextFile(const std::filesystem::path& path);
// The file's lines without their line ends (CR LF, LF or CR); no empty last line for a
// final line break.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace vorlan
