#pragma once
// The unnamed tables of the demo executable: upgrades, training, corrections, parts and
// the protagonist's spirit commands. Each fills its own bytes of a whole executable image.

#include <cstdint>
#include <span>

namespace vorlan::demo {

void writeParts(std::span<std::uint8_t> image);
void writeUpgradeCosts(std::span<std::uint8_t> image);
void writeWeaponUpgrades(std::span<std::uint8_t> image);
void writeSkillTraining(std::span<std::uint8_t> image);
void writeGuts(std::span<std::uint8_t> image);
void writeBarriers(std::span<std::uint8_t> image);
void writeSkillCorrections(std::span<std::uint8_t> image);
void writeProtagonistSpirits(std::span<std::uint8_t> image);

}  // namespace vorlan::demo
