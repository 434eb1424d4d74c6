#include "tables/skill_training_table.h"

#include <string>

#include "schema/name_source.h"
#include "tables/table_vocabularies.h"

namespace vorlan {

const TableDef& skillTrainingTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("skill-training", "机师技能养成", 0x2B5B28, 28, 32);
        d.fields = {
            // Pointers as eight hex digits in stored order: 1234 is stored 12 34 00 00.
            fieldOf("name-pointer", "Text53", "技能名称指针?", 0, 4, hexRun()),
            fieldOf("text-pointer", "Text57", "技能说明指针?", 4, 4, hexRun()),
            fieldOf("type", "Combo30", "养成类型", 8, 1, choice(trainingTypes())),
        };
        // The first byte of each two-byte PP slot; the second is never touched.
        for (int m = 0; m < 9; ++m) {
            d.fields.push_back(fieldOf(
                "pp" + std::to_string(m + 1), "Text59(" + std::to_string(m) + ")",
                "第" + std::to_string(m + 1) + "级", 10 + 2 * m, 1, decimal(), 0, "所需PP"));
        }
        d.reserved = {{9, 1}};
        for (int m = 0; m < 9; ++m)
            d.reserved.push_back({11 + 2 * m, 1});
        // Entry k trains skill k + 1: its name is line k + 1 of jn.txt.
        d.labelRule = [](int index, NameSource* names) {
            const auto* skills = names != nullptr ? names->names(NameList::Skills) : nullptr;
            const auto line = static_cast<std::size_t>(index) + 1;
            return skills != nullptr && line < skills->size() ? (*skills)[line]
                                                              : "技能" + std::to_string(index + 1);
        };
        return d;
    }();
    return t;
}

}  // namespace vorlan
