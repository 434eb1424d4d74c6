#pragma once
// The TABLE and INDEX arguments: a table's command-line name, and an entry number given
// as a decimal index or, for tables nested in another table's records, as GROUP:SLOT.

#include <cstdint>
#include <string>

#include "schema/table_def.h"

namespace vorlan::cli {

// The table of that name. Throws Refusal naming the known tables.
const TableDef& parseTable(const std::string& name);

// The entry index written as `text`: "5" (0 to count - 1), or for weapon slots "5:2".
// Throws Refusal with the accepted form and range.
int parseIndex(const TableDef& table, const std::string& text);

// The index as the command line writes it: "5", or "5:2" for a nested table.
std::string indexText(const TableDef& table, int index);

// Upper-case hexadecimal without prefix or leading zeros: 0x210570 -> "210570".
std::string hexOffset(std::uint32_t offset);

}  // namespace vorlan::cli
