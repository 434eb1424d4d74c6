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

void writeUnitHeader(ByteWriter h, int unit, const CharTable& chars, Rng& rng) {
    h.u16(0, static_cast<unsigned>(unit));
    h.name(2, 34, encodeName(chars, demoUnitName(unit), maxNameChars(34)));
    const int size = rng.range(0, 5);
    // Bigger units get more HP and armour, as in the game.
    h.u32(36, static_cast<std::uint32_t>(rng.range(30, 100 + 100 * size) * 100));
    h.u16(40, static_cast<unsigned>(rng.range(10, 30) * 10));
    h.u16(42, static_cast<unsigned>(rng.range(4, 8)));
    h.u16(44, static_cast<unsigned>(rng.range(60, 140)));
    h.u16(46, static_cast<unsigned>(rng.range(80, 150 + 20 * size) * 10));
    h.u8(48, static_cast<unsigned>(size));
    h.u8(49, rng.next() & 0xFF);
    h.u16(50, static_cast<unsigned>(rng.range(10, 300) * 100));
    h.u16(52, static_cast<unsigned>(rng.range(5, 200) * 100));
    h.u16(54, static_cast<unsigned>(rng.range(10, 500)));
    h.u16(56, static_cast<unsigned>(rng.range(5, 60)));
    // Upgrade step limits EN, HP, armour, mobility as four nibbles; most units allow 5 each.
    const bool special = rng.chance(8);
    h.u8(58, special ? 0xA5 : 0x55);
    h.u8(59, special ? 0x3F : 0x55);
    h.u8(61, static_cast<unsigned>(rng.range(0, 4)));
    h.u8(62, static_cast<unsigned>(rng.pick(kMoveTypes)));
    for (std::size_t t = 0; t < 4; ++t)
        h.u8(63 + t, static_cast<unsigned>(rng.pick(kTerrains)));
    h.u16(68, skillBits(rng, 13));
    h.u8(70, rng.chance(30) ? static_cast<unsigned>(rng.range(1, 15)) : 0U);
    h.u16(72, skillBits(rng, 15));
    h.u8(76, static_cast<unsigned>(rng.pick(kUnitAttributes)));
    h.u8(78, rng.chance(60) ? 0U : static_cast<unsigned>(rng.range(1, 4)));
    h.u16(80, static_cast<unsigned>(rng.range(0, pilotTable().count - 1)));
}

void writeWeapon(ByteWriter w, int unit, int slot, const CharTable& chars, Rng& rng) {
    w.name(0, 40, encodeName(chars, demoWeaponName(unit, slot), maxNameChars(40)));
    // Later slots hold the stronger weapons.
    w.u16(42, static_cast<unsigned>(800 + 500 * slot + 50 * rng.range(0, 20)));
    const int nearRange = slot == 0 ? 1 : rng.range(1, 3);
    w.u8(44, static_cast<unsigned>(nearRange));
    w.u8(45, static_cast<unsigned>(nearRange + rng.range(0, 6)));
    w.s16(46, rng.range(-20, 30));
    w.s16(48, rng.range(-10, 30));
    const int ammo = rng.chance(50) ? rng.range(1, 20) : 0;
    w.u8(50, static_cast<unsigned>(ammo));
    w.u8(51, ammo > 0 ? 0U : static_cast<unsigned>(rng.range(1, 12) * 5));
    w.u8(52, static_cast<unsigned>(slot < 2 ? 0 : rng.pick(kMorales)));
    w.u8(53, static_cast<unsigned>(rng.range(0, 4)));
    for (std::size_t t = 0; t < 4; ++t)
        w.u8(54 + t, static_cast<unsigned>(rng.pick(kTerrains)));
    w.u8(58, static_cast<unsigned>(rng.pick(kWeaponKinds)));
    w.u8(64, static_cast<unsigned>(rng.range(0, 3)));
    w.u8(65, static_cast<unsigned>(rng.range(0, 15) * 16 + rng.pick(kRequiredSkills)));
}

}  // namespace

void writeSpiritSlots(ByteWriter s, int used, Rng& rng) {
    std::array<bool, 31> taken{};
    int level = 1;
    for (int k = 0; k < 6; ++k) {
        const std::size_t at = 3 * static_cast<std::size_t>(k);
        if (k >= used) {
            s.zero(at, 3);
            continue;
        }
        int code = rng.range(1, 30);
        while (taken[static_cast<std::size_t>(code)])
            code = code % 30 + 1;
        taken[static_cast<std::size_t>(code)] = true;
        s.u8(at, static_cast<unsigned>(code));
        s.u8(at + 1, static_cast<unsigned>(level));
        s.u8(at + 2, static_cast<unsigned>(rng.range(1, 16) * 5));
        level = std::min(60, level + rng.range(2, 12));
    }
}

namespace {

void writePilot(ByteWriter p, int pilot, const CharTable& chars, Rng& rng) {
    const DemoPilotName name = demoPilotName(pilot);
    p.u16(0, static_cast<unsigned>(pilot));
    p.name(2, 21, encodeName(chars, name.nickname, maxNameChars(21)));
    p.name(23, 21, encodeName(chars, name.surname, maxNameChars(21)));
    p.name(44, 24, encodeName(chars, name.given, maxNameChars(24)));
    p.u8(72, static_cast<unsigned>(rng.range(40, 120)));  // SP
    for (std::size_t a = 73; a <= 78; ++a)
        p.u8(a, static_cast<unsigned>(rng.range(90, 200)));
    for (std::size_t t = 80; t <= 83; ++t)
        p.u8(t, static_cast<unsigned>(rng.pick(kTerrains)));
    p.u8(84, static_cast<unsigned>(rng.pick(kSideFlags)));
    p.u8(85, static_cast<unsigned>(rng.pick(kPilotTransfers)));
    writeSpiritSlots(p.sub(92, 18), rng.range(3, 6), rng);
    // Skill slots: code, then nine learn levels rising from the first.
    const int skills = rng.range(0, 6);
    for (int k = 0; k < 6; ++k) {
        ByteWriter slot = p.sub(110 + 10 * static_cast<std::size_t>(k), 10);
        if (k >= skills) {
            slot.zero(0, 10);
            continue;
        }
        slot.u8(0, static_cast<unsigned>(rng.range(1, 34)));
        int level = rng.range(1, 20);
        for (std::size_t j = 1; j <= 9; ++j) {
            slot.u8(j, static_cast<unsigned>(level));
            level = std::min(99, level + rng.range(2, 9));
        }
    }
}

}  // namespace

void writeUnits(std::span<std::uint8_t> image, const CharTable& chars) {
    Rng rng(1);
    const TableDef& slots = weaponTable();
    for (int i = 0; i < unitTable().count; ++i) {
        writeUnitHeader(unitHeader(image, i), i, chars, rng);
        const int weapons = rng.range(1, 8);
        for (int j = 0; j < slots.perGroup; ++j) {
            ByteWriter slot = weaponSlot(image, i, j);
            if (j < weapons) {
                writeWeapon(slot, i, j, chars, rng);
            } else {
                slot.zero(0, static_cast<std::size_t>(slots.size));
            }
        }
    }
}

void writePilots(std::span<std::uint8_t> image, const CharTable& chars) {
    Rng rng(2);
    const TableDef& pilots = pilotTable();
    for (int i = 0; i < pilots.count; ++i) {
        writePilot(
            ByteWriter(image.subspan(pilots.entryOffset(i), static_cast<std::size_t>(pilots.size))),
            i, chars, rng);
    }
}

ByteWriter unitHeader(std::span<std::uint8_t> image, int unit) {
    // The header is what comes before the record's first weapon slot.
    const TableDef& units = unitTable();
    const std::uint32_t start = units.entryOffset(unit);
    return ByteWriter(
        image.subspan(start, weaponTable().entryOffset(unit * weaponTable().perGroup) - start));
}

ByteWriter weaponSlot(std::span<std::uint8_t> image, int unit, int slot) {
    const TableDef& slots = weaponTable();
    return ByteWriter(image.subspan(slots.entryOffset(unit * slots.perGroup + slot),
                                    static_cast<std::size_t>(slots.size)));
}

}  // namespace vorlan::demo
