#pragma once
// The unit table: 481 records of 1,360 bytes, a 100-byte header and 18 weapon slots of
// 70 bytes each. Weapon slots are a table of their own, indexed unit × 18 + slot.

#include "schema/record_counts.h"
#include "schema/table_def.h"

namespace vorlan {

inline constexpr int kUnitRecordSize = 1360;

const TableDef& unitTable();
const TableDef& weaponTable();

}  // namespace vorlan
