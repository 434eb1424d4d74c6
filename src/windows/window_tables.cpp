#include "windows/window_tables.h"

namespace vorlan {

const TableDef& gutsTable() {
    static const TableDef t{"guts", "底力补正", 0x2DE788, 40, 9, 0, 0, {}};
    return t;
}

const TableDef& barrierTable() {
    static const TableDef t{"barrier", "防护立场", 0x2DA8B0, 16, 13, 0, 0, {}};
    return t;
}

const TableDef& skillCorrectionTable() {
    static const TableDef t{"skill-correction", "机师技能补正", 0x2DE8F4, 300, 1, 0, 0, {}};
    return t;
}

const TableDef& partTable() {
    static const TableDef t{"part", "强化配件性能", 0x1FB604, 32, 49, 0, 0, {}};
    return t;
}

const TableDef& weaponUpgradeTable() {
    static const TableDef t{"weapon-upgrade", "武器改造", 0x2DDD00, 308, 1, 0, 0, {}};
    return t;
}

const TableDef& spiritTable() {
    static const TableDef t{"spirit", "主角精神", 0x2B6220, 18, 98, 0, 0, {}};
    return t;
}

}  // namespace vorlan
