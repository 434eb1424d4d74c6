#include "tables/skill_training_table.h"

namespace vorlan {

const TableDef& skillTrainingTable() {
    static const TableDef t = tableOf("skill-training", "机师技能养成", 0x2B5B28, 28, 32);
    return t;
}

}  // namespace vorlan
