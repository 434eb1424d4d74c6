#pragma once
// Files of the whole-table commands: the executable's bytes read once, another executable
// opened for comparison, and output files made new (or replaced when asked).

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "cli/record_command.h"

namespace vorlan::cli {

// Every byte of the open executable.
std::vector<std::uint8_t> wholeFile(Document& document);

// Every byte of another executable of the same length (opened read-only, with the same
// checks). Throws Refusal naming it.
std::vector<std::uint8_t> otherExecutable(const std::filesystem::path& path, std::uint64_t size);

// Writes `text` as a new file `path` (or over it when `overwrite`). Throws Refusal.
void writeOutput(const std::filesystem::path& path, const std::string& text, bool overwrite);

}  // namespace vorlan::cli
