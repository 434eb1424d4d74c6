#pragma once
// A synthetic game executable to try the editor on without the real game.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/char_table.h"

namespace vorlan {

// The size of the real executable; every table lies inside it.
inline constexpr std::size_t kDemoSize = 3542016;

// A synthetic game executable: ELF magic first, plausible values in every table.
// Names are encoded with the given character table. Deterministic: same table, same bytes.
// Only the name bytes depend on the table; every other byte is the same for any table.
std::vector<std::uint8_t> makeDemoExecutable(const CharTable& chars);

}  // namespace vorlan
