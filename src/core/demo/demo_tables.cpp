#include "demo/demo_tables.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "demo/demo_bytes.h"
#include "demo/demo_records.h"
#include "tables/skill_training_table.h"
#include "tables/upgrade_tables.h"
#include "tables/window_tables.h"

namespace vorlan::demo {

namespace {

// Entry `index` of `table`, where the table's definition puts it, written by field keys.
FieldWriter entry(std::span<std::uint8_t> image, const TableDef& table, int index = 0) {
    return FieldWriter(
        image.subspan(table.entryOffset(index), static_cast<std::size_t>(table.size)), table);
}

std::string numbered(const std::string& stem, std::size_t n) {
    return stem + std::to_string(n);
}

// Fields of an enhancement part, in the table's field order.
enum PartField {
    kMove,
    kHp,
    kEn,
    kArmour,
    kMobility,
    kHit,
    kCritical,
    kRange,
    kMirage,
    kHpRegen,
    kEnRegen,
    kAirMove,
    kTerrain,
    kSpecial,
    kMorale,
    kRecovery,
    kSpRecovery,
    kFormation,
    kNone = -1
};

// One part has up to three effects; unused ones are kNone.
struct PartEffect {
    PartField field = kNone;
    int value = 0;
};
using PartEffects = std::array<PartEffect, 3>;

// In the order of the game's part list: boosters, computers and sensors, terrain
// modules, armour, generators, barriers, recovery items, morale items, cost down.
constexpr std::array<PartEffects, 49> kPartEffects = {{
    {{{kMove, 1}}},
    {{{kMove, 2}}},
    {{{kMove, 1}, {kMobility, 5}}},
    {{{kMobility, 10}, {kHit, 10}}},
    {{{kMobility, 10}}},
    {{{kMobility, 10}}},
    {{{kMobility, 15}, {kHit, 10}}},
    {{{kMobility, 20}, {kHit, 15}}},
    {{{kHit, 15}}},
    {{{kHit, 30}}},
    {{{kCritical, 20}}},
    {{{kMobility, 15}, {kHit, 15}, {kCritical, 10}}},
    {{{kHit, 20}, {kCritical, 20}}},
    {{{kRange, 1}}},
    {{{kAirMove, 1}}},
    {{{kAirMove, 1}, {kMove, 1}}},
    {{{kTerrain, 3}}},
    {{{kTerrain, 4}}},
    {{{kTerrain, 5}}},
    {{{kTerrain, 6}}},
    {{{kTerrain, 7}}},
    {{{kHp, 500}, {kArmour, 100}}},
    {{{kHp, 1000}, {kArmour, 200}}},
    {{{kArmour, 300}}},
    {{{kHp, 1500}, {kArmour, 400}}},
    {{{kHp, 1000}, {kArmour, 250}}},
    {{{kEn, 50}}},
    {{{kEn, 100}}},
    {{{kEn, 150}}},
    {{{kEn, 100}, {kEnRegen, 10}}},
    {{{kHpRegen, 10}, {kEnRegen, 10}}},
    {{{kEnRegen, 10}}},
    {{{kSpecial, 1}}},
    {{{kSpecial, 2}}},
    {{{kSpecial, 3}}},
    {{{kMirage, 1}}},
    {{{kRecovery, 1}}},
    {{{kRecovery, 2}}},
    {{{kRecovery, 3}}},
    {{{kRecovery, 4}}},
    {{{kSpRecovery, 1}}},
    {{{kSpRecovery, 2}}},
    {{{kSpRecovery, 3}}},
    {{{kSpRecovery, 4}}},
    {{{kMorale, 5}}},
    {{{kMorale, 10}}},
    {{{kMorale, 10}, {kHit, 10}}},
    {{{kHp, 2000}, {kArmour, 300}, {kMobility, 20}}},
    {{{kFormation, 1}}},
}};

// One guts level: ten rows (HP 100% down to 10%) of four corrections (hit, evasion, armour,
// critical hit), rising as HP falls and with the level, capped at 50.
void writeGutsLevel(FieldWriter level, int guts) {
    constexpr std::array<int, 4> kWeights = {3, 3, 4, 2};
    constexpr std::array<const char*, 4> kKinds = {"-hit", "-evasion", "-armor", "-critical"};
    for (std::size_t r = 0; r < 10; ++r) {
        for (std::size_t k = 0; k < 4; ++k) {
            const int value = static_cast<int>(r) * (guts + 1) * kWeights[k] / 4;
            level.set(numbered("hp", 100 - 10 * r) + kKinds[k],
                      static_cast<unsigned>(std::min(50, value)));
        }
    }
}

}  // namespace

void writeParts(std::span<std::uint8_t> image) {
    static_assert(kPartEffects.size() == 49);
    const TableDef& parts = partTable();
    for (int i = 0; i < parts.count; ++i) {
        FieldWriter part = entry(image, parts, i);
        for (const FieldDef& f : parts.fields)
            part.set(f.key, 0);
        for (const PartEffect& effect : kPartEffects[static_cast<std::size_t>(i)]) {
            if (effect.field != kNone)
                part.set(parts.fields[static_cast<std::size_t>(effect.field)].key,
                         static_cast<unsigned>(effect.value));
        }
    }
}

void writeUpgradeCosts(std::span<std::uint8_t> image) {
    // Rows HP, EN, mobility, armour; each step costs more than the one before.
    constexpr std::array<std::uint32_t, 4> kBase = {2000, 1500, 2500, 2000};
    for (int row = 0; row < upgradeCostTable().count; ++row) {
        FieldWriter costs = entry(image, upgradeCostTable(), row);
        for (std::size_t s = 1; s <= 10; ++s)
            costs.set(numbered("step", s), kBase[static_cast<std::size_t>(row)] * s);
    }
}

void writeWeaponUpgrades(std::span<std::uint8_t> image) {
    FieldWriter block = entry(image, weaponUpgradeTable());
    // Type t's ten attack increments add up to its total (2200 … 800), weighted towards
    // the later steps; the last step takes the rounding remainder.
    constexpr std::array<int, 5> kTotals = {2200, 1900, 1600, 1300, 800};
    constexpr std::array<int, 5> kCostBase = {5000, 4500, 4000, 3500, 2500};
    constexpr std::array<int, 10> kWeights = {4, 4, 6, 6, 8, 8, 10, 10, 12, 12};
    for (std::size_t t = 0; t < 5; ++t) {
        int rest = kTotals[t];
        for (std::size_t s = 0; s < 10; ++s) {
            const std::string step = std::to_string(t + 1) + "-" + std::to_string(s + 1);
            block.set("cost" + step,
                      static_cast<std::uint32_t>(kCostBase[t] * static_cast<int>(s + 1)));
            const int increment = s == 9 ? rest : kTotals[t] * kWeights[s] / 80 / 10 * 10;
            block.set("attack" + step, static_cast<unsigned>(increment));
            rest -= increment;
        }
    }
}

void writeSkillTraining(std::span<std::uint8_t> image) {
    Rng rng(3);
    for (int k = 0; k < skillTrainingTable().count; ++k) {
        FieldWriter skill = entry(image, skillTrainingTable(), k);
        // Name and description pointers into the game's text area.
        skill.set("name-pointer", 0x00325A40U + 0x10U * static_cast<std::uint32_t>(k));
        skill.set("text-pointer", 0x00325C80U + 0x40U * static_cast<std::uint32_t>(k));
        skill.set("type", static_cast<unsigned>(rng.range(0, 3)));
        int pp = rng.range(1, 5) * 10;
        for (std::size_t m = 1; m <= 9; ++m) {
            skill.set(numbered("pp", m), static_cast<unsigned>(pp));
            pp = std::min(250, pp + rng.range(1, 4) * 10);
        }
    }
}

void writeGuts(std::span<std::uint8_t> image) {
    for (int level = 0; level < gutsTable().count; ++level)
        writeGutsLevel(entry(image, gutsTable(), level), level);
}

void writeBarriers(std::span<std::uint8_t> image) {
    Rng rng(4);
    for (int i = 0; i < barrierTable().count; ++i) {
        FieldWriter barrier = entry(image, barrierTable(), i);
        barrier.set("en-cost", static_cast<unsigned>(rng.range(1, 4) * 5));
        barrier.set("morale", rng.chance(40) ? static_cast<unsigned>(rng.range(100, 130)) : 0U);
        barrier.set("damage", static_cast<unsigned>(rng.range(5, 40) * 100));
        barrier.set("type", static_cast<unsigned>(rng.range(0, 1)));
        barrier.bytes().u8(13, 0);  // after the type: no field, zero in the game's records
    }
}

void writeSkillCorrections(std::span<std::uint8_t> image) {
    FieldWriter block = entry(image, skillCorrectionTable());
    struct Table {
        const char* name;
        std::size_t columns;
        std::array<int, 8> perLevel;  // added per skill level, in tenths
    };
    constexpr std::array<Table, 6> kTables = {{
        {"newtype", 4, {20, 20, 3, 0}},
        {"enhanced", 4, {15, 15, 2, 0}},
        {"psychokinesis", 2, {20, 20}},
        {"psychic", 4, {15, 15, 20, 0}},
        {"brave", 4, {10, 10, 20, 30}},
        {"antibody", 8, {20, 20, 3, 15, 5, 5, 0, 0}},
    }};
    for (const Table& table : kTables) {
        for (std::size_t level = 1; level <= 9; ++level) {
            for (std::size_t j = 0; j < table.columns; ++j) {
                const int value = table.perLevel[j] * static_cast<int>(level) / 10;
                block.set(std::string(table.name) + "-l" + std::to_string(level) + "-" +
                              std::to_string(j + 1),
                          static_cast<unsigned>(std::min(50, value)));
            }
        }
    }
}

void writeProtagonistSpirits(std::span<std::uint8_t> image) {
    Rng rng(5);
    for (int i = 0; i < spiritTable().count; ++i)
        writeSpiritSlots(entry(image, spiritTable(), i), 6, rng);
}

}  // namespace vorlan::demo
