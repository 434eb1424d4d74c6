#pragma once
// Files of the whole-table commands: the executable's bytes read once, another executable
// opened for comparison, and output files made new (or replaced when asked).

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "record_command.h"

namespace vorlan::cli {

// Every byte of the open executable.
std::vector<std::uint8_t> wholeFile(Document& document);

// Every byte of another executable of the same length (opened read-only, with the same
// checks). Throws Refusal naming it.
std::vector<std::uint8_t> otherExecutable(const std::filesystem::path& path, std::uint64_t size);

// The bytes of the executable's own backup ("<exe>.bak"), read only when the write path
// would trust it (a plain file of the user's with one name, of the executable's length).
// Throws Refusal naming it: `missing` when there is none, else why it is not trusted.
std::vector<std::uint8_t> backupBytes(Document& document, const std::string& missing);

// Writes `bytes` as the output file `path`: new, or with `overwrite` in place of a regular
// file there; never over the executable `exe` (when given) or one of its side files, nor over
// a file kept beside a disc image, a link, pipe or device. Throws Refusal naming `what`
// ("文件") and the flag that replaces. Takes the folder's lock and clears what a killed run
// left under the output's fresh names, unless `folderHeld` (an OutputFolder of the caller).
void writeOutput(const std::filesystem::path& exe, const std::filesystem::path& path,
                 std::span<const std::uint8_t> bytes, bool overwrite, const std::string& what,
                 const char* flag = "--overwrite", bool folderHeld = false);
void writeOutput(const std::filesystem::path& exe, const std::filesystem::path& path,
                 const std::string& text, bool overwrite, bool folderHeld = false);

}  // namespace vorlan::cli
