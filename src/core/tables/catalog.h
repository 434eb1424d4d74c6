#pragma once
// Every table the editor knows, in one list for the command line and the file checks.

#include <cstdint>
#include <string>
#include <vector>

#include "document/document.h"
#include "schema/table_def.h"

namespace vorlan {

const std::vector<const TableDef*>& allTables();
const TableDef* findTable(const std::string& name);
// An executable must reach at least this far to hold every table.
std::uint32_t tablesEnd();
// What the document needs to know of every table: the end of the last one, and the byte
// ranges [begin, end) they cover, merged and in file order (the only bytes any write of the
// program changes).
const TableLayout& tableLayout();

}  // namespace vorlan
