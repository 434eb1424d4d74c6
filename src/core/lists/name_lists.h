#pragma once
// The four list files of the data folder: unit names, pilot names, the character table
// and skill names. The position of a name in its list is the record number it names.

#include <filesystem>
#include <string>
#include <vector>

#include "io/text_file.h"
#include "lists/list_folder.h"
#include "schema/record_counts.h"

namespace vorlan {

struct ListFile {
    const char* name;  // file name inside the data folder
    int count;         // entries read
};

inline constexpr ListFile kUnitList{"unit.txt", kUnitCount};
inline constexpr ListFile kPilotList{"pilot.txt", kPilotCount};
inline constexpr ListFile kCharList{"string.txt", kCharCount};
inline constexpr ListFile kSkillList{"jn.txt", kSkillCount};

struct NameLists {
    std::vector<std::string> units;
    std::vector<std::string> pilots;
    std::vector<std::string> chars;
    std::vector<std::string> skills;
};

// Reads one list file completely, from the folder of `lists` that holds it. Throws
// DataFileError, naming the file and the count it needs, when the file is missing,
// unreadable or has fewer entries than its count.
std::vector<std::string> readListFile(const ListFolder& lists, const ListFile& list);

// `loadname`: reads the four files in order, all or nothing. The character table is
// `charFile` when it is not empty (see readCharTable).
NameLists loadNameLists(const ListFolder& lists, const std::filesystem::path& charFile = {});

}  // namespace vorlan
