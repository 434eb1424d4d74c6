#pragma once
// The six tables edited in the secondary windows.

#include "schema/table_def.h"

namespace vorlan {

const TableDef& gutsTable();             // 底力补正
const TableDef& barrierTable();          // 防护立场
const TableDef& skillCorrectionTable();  // 机师技能补正 (one block)
const TableDef& partTable();             // 强化配件性能
const TableDef& weaponUpgradeTable();    // 武器改造 (one block)
const TableDef& spiritTable();           // 主角精神

}  // namespace vorlan
