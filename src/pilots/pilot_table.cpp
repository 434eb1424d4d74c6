#include "pilots/pilot_table.h"

namespace vorlan {

const TableDef& pilotTable() {
    static const TableDef t{"pilot", "机师", 0x1FBC20, 170, kPilotCount, 0, 0, {}};
    return t;
}

}  // namespace vorlan
