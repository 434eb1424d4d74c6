#include "units/unit_table.h"

namespace vorlan {

const TableDef& unitTable() {
    static const TableDef t{"unit", "机体", 0x210020, kUnitRecordSize, kUnitCount, 0, 0, {}};
    return t;
}

const TableDef& weaponTable() {
    static const TableDef t{
        "weapon",        "武器", 0x210020 + 100, 70, kUnitCount * kSlotsPerUnit, kSlotsPerUnit,
        kUnitRecordSize, {}};
    return t;
}

}  // namespace vorlan
