#pragma once
// Item lists shared by several tables.

#include <string>
#include <vector>

namespace vorlan {

// Terrain grades S … E: the "地形适应" boxes of units (Combo8 … Combo11), weapons
// (Combo3 … Combo6) and pilots (Combo18 … Combo21).
const std::vector<std::string>& terrainRatings();

}  // namespace vorlan
