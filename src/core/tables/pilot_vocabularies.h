#pragma once
// Fixed item lists of the pilot page.

#include <string>
#include <vector>

namespace vorlan {

const std::vector<std::string>& pilotSpiritCommands();  // Combo22(0…5) "精神指令"

}  // namespace vorlan
