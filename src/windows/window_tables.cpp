#include "windows/window_tables.h"

namespace vorlan {

const TableDef& gutsTable() {
    static const TableDef t = tableOf("guts", "底力补正", 0x2DE788, 40, 9);
    return t;
}

const TableDef& barrierTable() {
    static const TableDef t = tableOf("barrier", "防护立场", 0x2DA8B0, 16, 13);
    return t;
}

const TableDef& skillCorrectionTable() {
    static const TableDef t = tableOf("skill-correction", "机师技能补正", 0x2DE8F4, 300, 1);
    return t;
}

const TableDef& partTable() {
    static const TableDef t = tableOf("part", "强化配件性能", 0x1FB604, 32, 49);
    return t;
}

const TableDef& weaponUpgradeTable() {
    static const TableDef t = tableOf("weapon-upgrade", "武器改造", 0x2DDD00, 308, 1);
    return t;
}

const TableDef& spiritTable() {
    static const TableDef t = tableOf("spirit", "主角精神", 0x2B6220, 18, 98);
    return t;
}

}  // namespace vorlan
