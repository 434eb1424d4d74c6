#pragma once
// Reading whole files the player hands over (lists, patches, originals), bounded; the text
// files of the data folder as UTF-8 (a byte-order mark is dropped) or as GBK, the code page in
// which players keep their lists. Every read is bounded and
// every failure is a message naming the file: never an abort, a hang or a huge allocation.

#include <cstdint>
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

// Data files are small: a list of a few thousand names is well under this.
inline constexpr std::uint64_t kMaxTextFile = 8u << 20;

// UTF-8 text of the file's bytes: valid UTF-8 is taken as it is; a file that is mostly
// UTF-8 with a few bad bytes is refused with the line and column of the first; anything
// else must convert whole from GBK. Throws DataFileError naming the file and the place.
std::string decodeText(std::string_view bytes, const std::string& fileName);
// The bytes of a whole regular file of at most `maxBytes` (a patch, an original copy, a list);
// `what` names it in messages ("补丁文件"). Never waits on a pipe or reads a huge file. Throws
// DataFileError naming the file when it is missing, not a regular file, too large or
// unreadable.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                                        const std::string& what);
// Reads and decodes a whole regular file of at most `maxBytes`. Throws DataFileError
// naming the file when it is missing, not a regular file, too large or unreadable.
std::string readTextFile(const std::filesystem::path& path, std::uint64_t maxBytes = kMaxTextFile);
// The file's lines without their line ends (CR LF, LF or CR); no empty last line for a
// final line break.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace vorlan
