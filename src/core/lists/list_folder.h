#pragma once
// Where the name lists are read from, file by file. A player's own folder may hold only the
// lists they changed (a translated unit.txt): each list missing there comes from the
// program's folder behind it. A folder the player names (--data, 名称列表文件夹) has no
// folder behind it: every list must be there, and a missing one is refused by its name.

#include <filesystem>
#include <string>

namespace vorlan {

struct ListFile;

struct ListFolder {
    std::filesystem::path folder;
    std::filesystem::path fallback;  // empty: none

    ListFolder() = default;
    // A single folder, as a path given by the player is.
    ListFolder(std::filesystem::path only) : folder(std::move(only)) {}  // NOLINT: implicit
    ListFolder(const char* only) : folder(only) {}                       // NOLINT: implicit
    ListFolder(const std::string& only) : folder(only) {}                // NOLINT: implicit
    ListFolder(std::filesystem::path first, std::filesystem::path behind)
        : folder(std::move(first)), fallback(std::move(behind)) {}

    // The folder that holds the file `name`: `folder` when it is there (or when there is no
    // fallback, so that a message names the folder that was asked for), else `fallback`.
    std::filesystem::path holding(const std::string& name) const;
    // The first of the four lists found in neither folder ("jn.txt"), the character table
    // counting as found when `charsChosen` or when string.tbl stands in for it; empty when
    // every list is there.
    std::string missingList(bool charsChosen = false) const;
    // The folders as messages and the editor show them.
    std::string shown() const;
};

// The refusal of a folder that lacks `file`, naming both.
std::string missingListMessage(const ListFolder& lists, const std::string& file);

}  // namespace vorlan
