#include "pilots/pilot_table.h"

namespace vorlan {

const TableDef& pilotTable() {
    static const TableDef t = tableOf("pilot", "机师", 0x1FBC20, 170, kPilotCount);
    return t;
}

}  // namespace vorlan
