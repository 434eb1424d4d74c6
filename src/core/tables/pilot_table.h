#pragma once
// The pilot table: 485 records of 170 bytes.

#include "schema/record_counts.h"
#include "schema/table_def.h"

namespace vorlan {

const TableDef& pilotTable();

}  // namespace vorlan
