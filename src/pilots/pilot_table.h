#pragma once
// The pilot table: 485 records of 170 bytes.

#include "access/table_def.h"

namespace vorlan {

inline constexpr int kPilotCount = 485;

const TableDef& pilotTable();

}  // namespace vorlan
