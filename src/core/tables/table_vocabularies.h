#pragma once
// Fixed item lists of the "其他修改" page: the row choosers and the training types.

#include <string>
#include <vector>

namespace vorlan {

const std::vector<std::string>& upgradeCostRows();       // Combo31
const std::vector<std::string>& upgradeIncrementRows();  // Combo32
const std::vector<std::string>& trainingTypes();         // Combo30 "养成类型"

}  // namespace vorlan
