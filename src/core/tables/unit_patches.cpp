#include "tables/unit_patches.h"

#include "tables/unit_table.h"

namespace vorlan {

const TablePatch& upgradeLimitsPatch() {
    static const TablePatch p{
        "upgrade-limits",
        "TF改造丑小鸭",
        &unitTable(),
        {{"step-en", FieldValue::ofText("10")},
         {"step-hp", FieldValue::ofText("10")},
         {"step-armor", FieldValue::ofText("10")},
         {"step-mobility", FieldValue::ofText("10")}},
        "把全部 481 个机体的四项改造段数上限（EN、HP、装甲、运动性）都改为 10"};
    return p;
}

const TablePatch& chipsPatch() {
    static const TablePatch p{"chips",
                              "全机体可装4芯片",
                              &unitTable(),
                              {{"chips", FieldValue::ofText("4")}},
                              "把全部 481 个机体的芯片数都改为 4"};
    return p;
}

const std::vector<const TablePatch*>& allPatches() {
    static const std::vector<const TablePatch*> patches{&upgradeLimitsPatch(), &chipsPatch()};
    return patches;
}

}  // namespace vorlan
