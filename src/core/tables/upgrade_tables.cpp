#include "tables/upgrade_tables.h"

#include <string>

#include "tables/table_vocabularies.h"

namespace vorlan {

namespace {

// Ten values in a row, element n (upgrade step n + 1) in box `control`(n).
std::vector<FieldDef> tenSteps(const char* control, int width, const std::string& group) {
    std::vector<FieldDef> v;
    for (int n = 0; n < 10; ++n) {
        const std::string k = std::to_string(n + 1);
        v.push_back(fieldOf("step" + k, std::string(control) + "(" + std::to_string(n) + ")",
                            "第" + k + "段", n * width, width, decimal(), 0, group));
    }
    return v;
}

}  // namespace

const TableDef& upgradeCostTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("upgrade-cost", "机体改造费用", 0x2DDC10, 40, 4);
        // A cost is a 32-bit word: a negative text is stored in two's complement, and a
        // stored value above 2147483647 is shown unsigned and written back unchanged.
        d.fields = tenSteps("Text58", 4, "机体改造费用");
        d.labelItems = upgradeCostRows();
        return d;
    }();
    return t;
}

const TableDef& upgradeIncrementTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("upgrade-increment", "武器改造幅度", 0x2DDDD0, 20, 5);
        d.fields = tenSteps("Text60", 2, "武器改造幅度");
        d.labelItems = upgradeIncrementRows();
        return d;
    }();
    return t;
}

}  // namespace vorlan
