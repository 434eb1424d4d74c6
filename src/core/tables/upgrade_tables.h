#pragma once
// The unit upgrade costs (4 rows of ten 32-bit values) and the weapon upgrade increments
// (5 rows of ten 16-bit values), chosen a row at a time on the "其他修改" page.

#include "schema/table_def.h"

namespace vorlan {

const TableDef& upgradeCostTable();
const TableDef& upgradeIncrementTable();

}  // namespace vorlan
