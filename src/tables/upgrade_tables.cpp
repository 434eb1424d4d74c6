#include "tables/upgrade_tables.h"

namespace vorlan {

const TableDef& upgradeCostTable() {
    static const TableDef t = tableOf("upgrade-cost", "机体改造费用", 0x2DDC10, 40, 4);
    return t;
}

const TableDef& upgradeIncrementTable() {
    static const TableDef t = tableOf("upgrade-increment", "武器改造幅度", 0x2DDDD0, 20, 5);
    return t;
}

}  // namespace vorlan
