#pragma once
// The shape every whole-table file shares, CSV or JSON: an entry's index (for weapon slots
// the unit and the slot), its label, then every field by key, a name code followed by its
// decoded text ("KEY.text").

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "schema/field_value.h"
#include "schema/name_source.h"
#include "schema/table_def.h"

namespace vorlan {

enum class TableFormat { Csv, Json };

// JSON when the text starts with "{" (after white space), CSV otherwise.
TableFormat formatOf(std::string_view text);

// "KEY.text", the column of a name code's decoded text.
std::string textColumn(const FieldDef& f);

// Whether the table's entries are indexed by unit and slot.
bool bySlot(const TableDef& table);

// The fields of entry `index`, read from the whole executable's bytes.
std::vector<FieldValue> entryValues(const TableDef& table, std::span<const std::uint8_t> exe,
                                    int index);

// The decoded text of a name code, or "" without a character table.
std::string decodedName(const FieldValue& v, NameSource* names);

}  // namespace vorlan
