#include "tables/catalog.h"

#include <algorithm>

#include "tables/pilot_table.h"
#include "tables/skill_training_table.h"
#include "tables/unit_table.h"
#include "tables/upgrade_tables.h"
#include "tables/window_tables.h"

namespace vorlan {

const std::vector<const TableDef*>& allTables() {
    static const std::vector<const TableDef*> tables{
        &unitTable(),        &weaponTable(),           &pilotTable(),
        &upgradeCostTable(), &upgradeIncrementTable(), &skillTrainingTable(),
        &gutsTable(),        &barrierTable(),          &skillCorrectionTable(),
        &partTable(),        &weaponUpgradeTable(),    &spiritTable()};
    return tables;
}

const TableDef* findTable(const std::string& name) {
    for (const TableDef* t : allTables()) {
        if (t->name == name)
            return t;
    }
    return nullptr;
}

std::uint32_t tablesEnd() {
    std::uint32_t end = 0;
    for (const TableDef* t : allTables())
        end = std::max(end, t->end());
    return end;
}

}  // namespace vorlan

namespace vorlan {

const TableLayout& tableLayout() {
    static const TableLayout layout = [] {
        std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
        for (const TableDef* t : allTables())
            spans.emplace_back(t->offset, t->end());
        std::sort(spans.begin(), spans.end());
        std::vector<std::pair<std::uint64_t, std::uint64_t>> merged;
        for (const auto& span : spans) {
            if (!merged.empty() && span.first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, span.second);
            else
                merged.push_back(span);
        }
        return TableLayout{tablesEnd(), merged};
    }();
    return layout;
}

}  // namespace vorlan
