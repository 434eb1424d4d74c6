#pragma once
// Fixed item lists of the unit page's choice boxes and multi-select lists.

#include <string>
#include <vector>

#include "tables/shared_vocabularies.h"

namespace vorlan {

const std::vector<std::string>& unitSizes();           // Combo2 "SIZE"
const std::vector<std::string>& moveTypes();           // Combo7 "移动类型"
const std::vector<std::string>& transferTypes();       // Combo16 "换乘类型"
const std::vector<std::string>& unitSkills1();         // List3
const std::vector<std::string>& unitSkills2();         // List4
const std::vector<std::string>& weaponUpgradeTypes();  // Combo15 "改造类型"
const std::vector<std::string>& weaponKinds();         // Combo14 "武器种类"
const std::vector<std::string>& requiredSkills();      // Combo13 "必要技能"

}  // namespace vorlan
