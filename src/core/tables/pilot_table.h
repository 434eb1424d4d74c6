#pragma once
// The pilot table: 485 records of 170 bytes.

#include "schema/table_def.h"
#include "vocabulary/record_counts.h"

namespace vorlan {

const TableDef& pilotTable();

}  // namespace vorlan
