#pragma once
// How many records the game keeps of each kind: the tables are laid out by these counts, and
// the name lists of the data folder must hold at least as many names.

namespace vorlan {

inline constexpr int kUnitCount = 481;
inline constexpr int kSlotsPerUnit = 18;  // weapon slots in each unit record
inline constexpr int kPilotCount = 485;
inline constexpr int kSkillCount = 35;   // pilot skills, named by jn.txt
inline constexpr int kCharCount = 7302;  // entries of the character table

}  // namespace vorlan
