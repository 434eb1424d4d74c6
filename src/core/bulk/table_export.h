#pragma once
// A whole table written out as CSV (UTF-8 with a byte-order mark, CRLF, hex texts with a
// 0x prefix so that spreadsheet programs keep them, cells that they would run as formulas
// marked as text with a leading "'") or JSON (values exactly as `get --json`
// gives them), all entries or only some.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "bulk/diff.h"
#include "bulk/table_io.h"
#include "schema/name_source.h"
#include "schema/table_def.h"

namespace vorlan {

// `only`: the entries to write, ascending; every entry when null.
std::string exportTable(const TableDef& table, std::span<const std::uint8_t> exe, NameSource* names,
                        TableFormat format, const std::vector<int>* only = nullptr);

// The entries of each table with a field that differs, ascending.
std::map<const TableDef*, std::vector<int>> changedEntries(const ExecutableDiff& diff);

}  // namespace vorlan
