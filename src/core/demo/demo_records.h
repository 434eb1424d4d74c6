#pragma once
// The named records of the demo executable: units with their weapons, and pilots.

#include <cstdint>
#include <span>

#include "demo/demo_bytes.h"

namespace vorlan {
class CharTable;
}

namespace vorlan::demo {

// The six spirit command slots (code, learn level, SP cost: fields "spiritN", "spiritN-level",
// "spiritN-sp") of a pilot or a protagonist entry: `used` slots filled with different codes
// and rising levels, the rest 00 00 00.
void writeSpiritSlots(FieldWriter entry, int used, Rng& rng);

// Fill the unit table and the pilot table of a whole executable image.
void writeUnits(std::span<std::uint8_t> image, const CharTable& chars);
void writePilots(std::span<std::uint8_t> image, const CharTable& chars);

// A unit's header (the record before its first weapon slot), and one of its weapon slots.
std::span<std::uint8_t> unitHeader(std::span<std::uint8_t> image, int unit);
std::span<std::uint8_t> weaponSlot(std::span<std::uint8_t> image, int unit, int slot);

}  // namespace vorlan::demo
