#pragma once
// The two whole-table patches of the unit table, as edits of named fields over every unit.

#include <string>
#include <utility>
#include <vector>

#include "schema/field_value.h"
#include "schema/table_def.h"

namespace vorlan {

struct TablePatch {
    std::string name;     // command-line name
    std::string caption;  // the button's caption
    const TableDef* table;
    std::vector<std::pair<std::string, FieldValue>> values;  // field key → value
    std::string summary;  // what it changes, for the tooltip and the report
};

// "TF改造丑小鸭": every unit's four upgrade step limits become 10 (bytes 58 and 59 = AA AA).
const TablePatch& upgradeLimitsPatch();
// "全机体可装4芯片": every unit's chip count becomes 4 (byte 61 = 04).
const TablePatch& chipsPatch();
const std::vector<const TablePatch*>& allPatches();

}  // namespace vorlan
