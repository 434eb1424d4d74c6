#pragma once
// The names the demo executable gives its units, weapons and pilots, as UTF-8 text.
// Made up from a few fixed word lists; the same index always gives the same name.

#include <string>

namespace vorlan {

// Unit 0 … 480: every fourth one a plain "机体NNN", the others an invented mecha name.
std::string demoUnitName(int unit);
// The weapon in slot 0 … 17 of a unit.
std::string demoWeaponName(int unit, int slot);

struct DemoPilotName {
    std::string nickname;  // empty for about half of the pilots
    std::string surname;
    std::string given;
};
// Pilot 0 … 484.
DemoPilotName demoPilotName(int pilot);

}  // namespace vorlan
