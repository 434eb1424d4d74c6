#pragma once
// Fixed item lists of the six secondary windows.

#include <string>
#include <vector>

namespace vorlan {

const std::vector<std::string>& gutsLevels();          // Form2 List1: L1 … L9
const std::vector<std::string>& gutsRows();            // HP100% … HP10%
const std::vector<std::string>& gutsColumns();         // 命中補正 … 必杀補正
const std::vector<std::string>& barrierNames();        // Form3 List1
const std::vector<std::string>& barrierTypes();        // Form3 Combo1
const std::vector<std::string>& partNames();           // Form5 List1
const std::vector<std::string>& protagonistEntries();  // Form7 List1, 98 items
const std::vector<std::string>& protagonistSpirits();  // Form7 Combo1(k), 31 items

}  // namespace vorlan
