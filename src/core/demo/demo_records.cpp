#include "demo/demo_records.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "demo/demo_bytes.h"
#include "demo/demo_names.h"
#include "tables/pilot_table.h"
#include "tables/unit_table.h"

namespace vorlan::demo {

namespace {

// Value lists weighted by repetition: common values appear more than once.
constexpr int kTerrains[] = {0, 1, 1, 1, 1, 2, 2, 2, 3, 3, 4, 5};
constexpr int kMoveTypes[] = {2, 2, 2, 3, 3, 1, 7, 4, 5, 6, 0, 10};
constexpr int kUnitAttributes[] = {0x00, 0x00, 0x02, 0x08, 0x09};
constexpr int kWeaponKinds[] = {0, 0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr int kRequiredSkills[] = {0, 0, 0, 0, 0, 1, 2};
constexpr int kMorales[] = {0, 0, 0, 100, 105, 110, 120, 130};
constexpr int kSideFlags[] = {0x08, 0x08, 0x00, 0x02, 0x09, 0x0A, 0x18};
constexpr int kPilotTransfers[] = {0x00, 0x00, 0x01, 0x02, 0x04, 0x08};

// A 16-bit skill set with at most one bit, chosen among `bits` low bits.
unsigned skillBits(Rng& rng, int bits) {
    return rng.chance(25) ? 1U << rng.range(0, bits - 1) : 0U;
}

const char* const kTerrainKeys[] = {"terrain-air", "terrain-land", "terrain-sea", "terrain-space"};

void writeUnitHeader(FieldWriter h, int unit, const CharTable& chars, Rng& rng) {
    h.set("code", static_cast<unsigned>(unit));
    h.name("name", encodeName(chars, demoUnitName(unit), maxNameChars(34)));
    const int size = rng.range(0, 5);
    // Bigger units get more HP and armour, as in the game.
    h.set("hp", static_cast<std::uint32_t>(rng.range(30, 100 + 100 * size) * 100));
    h.set("en", static_cast<unsigned>(rng.range(10, 30) * 10));
    h.set("move", static_cast<unsigned>(rng.range(4, 8)));
    h.set("mobility", static_cast<unsigned>(rng.range(60, 140)));
    h.set("armor", static_cast<unsigned>(rng.range(80, 150 + 20 * size) * 10));
    h.set("size", static_cast<unsigned>(size));
    h.set("cost", rng.next() & 0xFF);
    h.set("repair", static_cast<unsigned>(rng.range(10, 300) * 100));
    h.set("reward", static_cast<unsigned>(rng.range(5, 200) * 100));
    h.set("exp", static_cast<unsigned>(rng.range(10, 500)));
    h.set("pp", static_cast<unsigned>(rng.range(5, 60)));
    // Most units allow 5 upgrade steps of each kind; a few have other limits.
    const bool special = rng.chance(8);
    h.set("step-en", special ? 0xA : 5);
    h.set("step-hp", 5);
    h.set("step-armor", special ? 3 : 5);
    h.set("step-mobility", special ? 0xF : 5);
    h.set("chips", static_cast<unsigned>(rng.range(0, 4)));
    h.set("move-type", static_cast<unsigned>(rng.pick(kMoveTypes)));
    for (const char* terrain : kTerrainKeys)
        h.set(terrain, static_cast<unsigned>(rng.pick(kTerrains)));
    h.set("skills1", skillBits(rng, 13));
    // The icons' byte has its unshown high bits clear, as the game's records have it.
    const unsigned icons = rng.chance(30) ? static_cast<unsigned>(rng.range(1, 15)) : 0U;
    h.clear("icon0");
    for (unsigned k = 0; k < 4; ++k)
        h.set("icon" + std::to_string(k), (icons >> k) & 1U);
    h.set("skills2", skillBits(rng, 15));
    h.set("attribute", static_cast<unsigned>(rng.pick(kUnitAttributes)));
    h.set("transfer", rng.chance(60) ? 0U : static_cast<unsigned>(rng.range(1, 4)));
    h.set("pilot", static_cast<unsigned>(rng.range(0, pilotTable().count - 1)));
}

void writeWeapon(FieldWriter w, int unit, int slot, const CharTable& chars, Rng& rng) {
    w.name("name", encodeName(chars, demoWeaponName(unit, slot), maxNameChars(40)));
    // Later slots hold the stronger weapons.
    w.set("attack", static_cast<unsigned>(800 + 500 * slot + 50 * rng.range(0, 20)));
    const int nearRange = slot == 0 ? 1 : rng.range(1, 3);
    w.set("range-min", static_cast<unsigned>(nearRange));
    w.set("range-max", static_cast<unsigned>(nearRange + rng.range(0, 6)));
    // Two's complement, as the game stores signed 16-bit values.
    w.set("hit", static_cast<unsigned>(rng.range(-20, 30)) & 0xFFFF);
    w.set("ct", static_cast<unsigned>(rng.range(-10, 30)) & 0xFFFF);
    const int ammo = rng.chance(50) ? rng.range(1, 20) : 0;
    w.set("ammo", static_cast<unsigned>(ammo));
    w.set("en-cost", ammo > 0 ? 0U : static_cast<unsigned>(rng.range(1, 12) * 5));
    w.set("morale", static_cast<unsigned>(slot < 2 ? 0 : rng.pick(kMorales)));
    w.set("upgrade-type", static_cast<unsigned>(rng.range(0, 4)));
    for (const char* terrain : kTerrainKeys)
        w.set(terrain, static_cast<unsigned>(rng.pick(kTerrains)));
    w.set("kind", static_cast<unsigned>(rng.pick(kWeaponKinds)));
    w.set("attribute", static_cast<unsigned>(rng.range(0, 3)));
    const int level = rng.range(0, 15);
    w.set("level", static_cast<unsigned>(level));
    w.set("required-skill", static_cast<unsigned>(rng.pick(kRequiredSkills)));
}

}  // namespace

void writeSpiritSlots(FieldWriter s, int used, Rng& rng) {
    std::array<bool, 31> taken{};
    int level = 1;
    for (int k = 0; k < 6; ++k) {
        const std::string slot = "spirit" + std::to_string(k + 1);
        if (k >= used) {
            for (const char* part : {"", "-level", "-sp"})
                s.set(slot + part, 0);
            continue;
        }
        int code = rng.range(1, 30);
        while (taken[static_cast<std::size_t>(code)])
            code = code % 30 + 1;
        taken[static_cast<std::size_t>(code)] = true;
        s.set(slot, static_cast<unsigned>(code));
        s.set(slot + "-level", static_cast<unsigned>(level));
        s.set(slot + "-sp", static_cast<unsigned>(rng.range(1, 16) * 5));
        level = std::min(60, level + rng.range(2, 12));
    }
}

namespace {

void writePilot(FieldWriter p, int pilot, const CharTable& chars, Rng& rng) {
    const DemoPilotName name = demoPilotName(pilot);
    p.set("code", static_cast<unsigned>(pilot));
    p.name("nickname", encodeName(chars, name.nickname, maxNameChars(21)));
    p.name("surname", encodeName(chars, name.surname, maxNameChars(21)));
    p.name("given-name", encodeName(chars, name.given, maxNameChars(24)));
    p.set("sp", static_cast<unsigned>(rng.range(40, 120)));
    for (const char* ability : {"melee", "shooting", "evasion", "accuracy", "defense", "technique"})
        p.set(ability, static_cast<unsigned>(rng.range(90, 200)));
    for (const char* terrain : kTerrainKeys)
        p.set(terrain, static_cast<unsigned>(rng.pick(kTerrains)));
    p.set("side", static_cast<unsigned>(rng.pick(kSideFlags)));
    p.set("transfer", static_cast<unsigned>(rng.pick(kPilotTransfers)));
    writeSpiritSlots(p, rng.range(3, 6), rng);
    // Skill slots: code, then nine learn levels rising from the first; unused ones zero.
    const int skills = rng.range(0, 6);
    for (int k = 0; k < 6; ++k) {
        const std::string slot = "skill" + std::to_string(k + 1);
        const bool used = k < skills;
        p.set(slot, used ? static_cast<unsigned>(rng.range(1, 34)) : 0U);
        int level = used ? rng.range(1, 20) : 0;
        for (int j = 1; j <= 9; ++j) {
            p.set(slot + "-lv" + std::to_string(j), static_cast<unsigned>(level));
            if (used)
                level = std::min(99, level + rng.range(2, 9));
        }
    }
}

}  // namespace

void writeUnits(std::span<std::uint8_t> image, const CharTable& chars) {
    Rng rng(1);
    const TableDef& slots = weaponTable();
    for (int i = 0; i < unitTable().count; ++i) {
        writeUnitHeader(FieldWriter(unitHeader(image, i), unitTable()), i, chars, rng);
        const int weapons = rng.range(1, 8);
        for (int j = 0; j < slots.perGroup; ++j) {
            if (j < weapons)
                writeWeapon(FieldWriter(weaponSlot(image, i, j), slots), i, j, chars, rng);
            else
                ByteWriter(weaponSlot(image, i, j)).zero(0, static_cast<std::size_t>(slots.size));
        }
    }
}

void writePilots(std::span<std::uint8_t> image, const CharTable& chars) {
    Rng rng(2);
    const TableDef& pilots = pilotTable();
    for (int i = 0; i < pilots.count; ++i) {
        writePilot(
            FieldWriter(image.subspan(pilots.entryOffset(i), static_cast<std::size_t>(pilots.size)),
                        pilots),
            i, chars, rng);
    }
}

std::span<std::uint8_t> unitHeader(std::span<std::uint8_t> image, int unit) {
    // The header is what comes before the record's first weapon slot.
    const TableDef& units = unitTable();
    const std::uint32_t start = units.entryOffset(unit);
    return image.subspan(start, weaponTable().entryOffset(unit * weaponTable().perGroup) - start);
}

std::span<std::uint8_t> weaponSlot(std::span<std::uint8_t> image, int unit, int slot) {
    const TableDef& slots = weaponTable();
    return image.subspan(slots.entryOffset(unit * slots.perGroup + slot),
                         static_cast<std::size_t>(slots.size));
}

}  // namespace vorlan::demo
