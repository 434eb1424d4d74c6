#pragma once
// Every table the editor knows, in one list for the command line and the file checks.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "access/table_def.h"

namespace vorlan {

const std::vector<const TableDef*>& allTables();
const TableDef* findTable(const std::string& name);
// An executable must reach at least this far to hold every table.
std::uint32_t tablesEnd();
// The byte ranges [begin, end) the tables cover, merged and in file order: the only bytes
// any write of the program changes.
const std::vector<std::pair<std::uint64_t, std::uint64_t>>& tableByteRanges();

}  // namespace vorlan
