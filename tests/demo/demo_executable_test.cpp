#include "demo/demo_executable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "demo/demo_names.h"
#include "fixtures/game_layout.h"
#include "lists/name_lists.h"
#include "text/char_table.h"
#include "text/utf8.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The layout as the game has it, apart from the table definitions.
using test::kPilotOffset;
using test::kPilots;
using test::kPilotSize;
using test::kUnits;
using test::unitAt;

std::size_t slotAt(std::size_t i, std::size_t j) {
    return unitAt(i) + test::kUnitHeaderSize + test::kWeaponSlotSize * j;
}
std::size_t pilotAt(std::size_t i) {
    return kPilotOffset + kPilotSize * i;
}

unsigned u16(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}
int s16(const Bytes& b, std::size_t at) {
    const auto v = static_cast<int>(u16(b, at));
    return v > 32767 ? v - 65536 : v;
}
std::uint32_t u32(const Bytes& b, std::size_t at) {
    return u16(b, at) | (u16(b, at + 2) << 16);
}

// The editor's shown code text of a name field: upper-case hex in stored order, cut before
// the first terminator, with "0" appended to an odd-length result.
std::string codeText(const Bytes& b, std::size_t at, std::size_t width,
                     const std::string& terminator = "0000") {
    std::string hex;
    for (std::size_t i = 0; i < width; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", b[at + i]);
        hex += pair;
    }
    hex = hex.substr(0, hex.find(terminator));
    if (hex.size() % 2 != 0)
        hex += '0';
    return hex;
}

// Every character the demo uses in a name, in first-seen order.
std::vector<std::string> nameCharacters() {
    std::vector<std::string> out;
    auto add = [&out](const std::string& text) {
        for (const auto& c : utf8::characters(text)) {
            if (std::find(out.begin(), out.end(), c) == out.end())
                out.push_back(c);
        }
    };
    for (int i = 0; i < static_cast<int>(kUnits); ++i) {
        add(demoUnitName(i));
        for (int j = 0; j < 18; ++j)
            add(demoWeaponName(i, j));
    }
    for (int i = 0; i < static_cast<int>(kPilots); ++i) {
        const DemoPilotName p = demoPilotName(i);
        add(p.nickname + p.surname + p.given);
    }
    return out;
}

// A table laid out like the shipped one: entry k has code 81+k/188, 40+k%188.
CharTable tableOf(const std::vector<std::string>& characters) {
    std::vector<std::string> entries;
    for (std::size_t k = 0; k < characters.size(); ++k) {
        char code[5];
        std::snprintf(code, sizeof code, "%02X%02X", static_cast<unsigned>(0x81 + k / 188),
                      static_cast<unsigned>(0x40 + k % 188));
        entries.push_back(code + characters[k]);
    }
    return CharTable(std::move(entries));
}

std::string keepOnly(const std::string& text, const std::set<std::string>& kept) {
    std::string out;
    for (const auto& c : utf8::characters(text)) {
        if (kept.count(c) != 0)
            out += c;
    }
    return out;
}

// Decodes every unit, weapon and pilot name of `exe` and compares it with the demo name
// filtered through `expect`.
template <typename Expect>
void expectNamesDecode(const Bytes& exe, const CharTable& chars, Expect expect) {
    for (std::size_t i = 0; i < kUnits; ++i) {
        const int unit = static_cast<int>(i);
        ASSERT_EQ(chars.decode(codeText(exe, unitAt(i) + 2, 34)), expect(demoUnitName(unit)))
            << "unit " << i;
        for (std::size_t j = 0; j < 18 && exe[slotAt(i, j)] != 0; ++j) {
            ASSERT_EQ(chars.decode(codeText(exe, slotAt(i, j), 40)),
                      expect(demoWeaponName(unit, static_cast<int>(j))))
                << "unit " << i << " weapon " << j;
        }
    }
    for (std::size_t i = 0; i < kPilots; ++i) {
        const DemoPilotName name = demoPilotName(static_cast<int>(i));
        const std::size_t at = pilotAt(i);
        ASSERT_EQ(chars.decode(codeText(exe, at + 2, 21)), expect(name.nickname)) << i;
        ASSERT_EQ(chars.decode(codeText(exe, at + 23, 21, "00")), expect(name.surname)) << i;
        ASSERT_EQ(chars.decode(codeText(exe, at + 44, 24)), expect(name.given)) << i;
    }
}

// One table and one demo for the whole suite: building them takes a while.
const CharTable& chars() {
    static const CharTable table = tableOf(nameCharacters());
    return table;
}
const Bytes& exe() {
    static const Bytes bytes = makeDemoExecutable(chars());
    return bytes;
}

TEST(DemoExecutable, IsA32BitLittleEndianMipsElfOfTheGameSize) {
    ASSERT_EQ(exe().size(), kDemoSize);
    EXPECT_EQ(exe()[0], 0x7F);
    EXPECT_EQ(exe()[1], 'E');
    EXPECT_EQ(exe()[2], 'L');
    EXPECT_EQ(exe()[3], 'F');
    EXPECT_EQ(exe()[4], 1);         // 32-bit
    EXPECT_EQ(exe()[5], 1);         // little-endian
    EXPECT_EQ(u16(exe(), 18), 8u);  // MIPS
}

TEST(DemoExecutable, SameTableGivesSameBytes) {
    EXPECT_TRUE(makeDemoExecutable(chars()) == exe());
}

TEST(DemoExecutable, OnlyTheNameFieldsDependOnTheTable) {
    Bytes other = makeDemoExecutable(CharTable());
    ASSERT_EQ(other.size(), kDemoSize);
    Bytes masked = exe();
    auto blank = [&](std::size_t at, std::size_t width) {
        for (std::size_t k = at; k < at + width; ++k) {
            EXPECT_EQ(other[k], 0) << "name byte at " << k << " without a table";
            masked[k] = other[k];
        }
    };
    for (std::size_t i = 0; i < kUnits; ++i) {
        blank(unitAt(i) + 2, 34);
        for (std::size_t j = 0; j < 18; ++j)
            blank(slotAt(i, j), 40);
    }
    for (std::size_t i = 0; i < kPilots; ++i) {
        blank(pilotAt(i) + 2, 21);
        blank(pilotAt(i) + 23, 21);
        blank(pilotAt(i) + 44, 24);
    }
    EXPECT_TRUE(masked == other);
}

TEST(DemoExecutable, UnitChoiceFieldsStayInTheirLists) {
    const std::set<unsigned> moveTypes = {0, 1, 2, 3, 4, 5, 6, 7, 10};
    const std::set<unsigned> attributes = {0x00, 0x02, 0x08, 0x09};
    for (std::size_t i = 0; i < kUnits; ++i) {
        const std::size_t u = unitAt(i);
        SCOPED_TRACE("unit " + std::to_string(i));
        EXPECT_EQ(u16(exe(), u), i);
        EXPECT_LE(exe()[u + 48], 5);  // SIZE
        EXPECT_LE(exe()[u + 61], 4);  // chips
        EXPECT_EQ(moveTypes.count(exe()[u + 62]), 1u);
        for (std::size_t t = 63; t <= 66; ++t)
            EXPECT_LE(exe()[u + t], 5);
        EXPECT_EQ(attributes.count(exe()[u + 76]), 1u);
        EXPECT_LE(exe()[u + 78], 4);  // transfer type
        EXPECT_LT(u16(exe(), u + 80), kPilots);
        const std::uint32_t hp = u32(exe(), u + 36);
        EXPECT_TRUE(hp >= 3000 && hp <= 100000) << hp;
    }
}

TEST(DemoExecutable, UnitsHaveOneToEightWeaponsInTheFirstSlots) {
    for (std::size_t i = 0; i < kUnits; ++i) {
        SCOPED_TRACE("unit " + std::to_string(i));
        std::size_t used = 0;
        while (used < 18 && exe()[slotAt(i, used)] != 0)
            ++used;
        EXPECT_GE(used, 1u);
        EXPECT_LE(used, 8u);
        for (std::size_t j = 0; j < used; ++j) {
            const std::size_t w = slotAt(i, j);
            EXPECT_LE(exe()[w + 44], exe()[w + 45]);  // near range within far range
            EXPECT_GE(s16(exe(), w + 46), -20);
            EXPECT_LE(s16(exe(), w + 46), 30);
            EXPECT_LE(exe()[w + 53], 4);  // upgrade type
            for (std::size_t t = 54; t <= 57; ++t)
                EXPECT_LE(exe()[w + t], 5);
            EXPECT_LE(exe()[w + 58], 10);        // weapon kind
            EXPECT_LE(exe()[w + 64], 3);         // attribute
            EXPECT_LE(exe()[w + 65] & 0x0F, 2);  // required skill
        }
        for (std::size_t j = used; j < 18; ++j) {
            const auto slot = exe().begin() + static_cast<std::ptrdiff_t>(slotAt(i, j));
            EXPECT_TRUE(std::all_of(slot, slot + 70, [](std::uint8_t b) { return b == 0; }))
                << "slot " << j << " after the last weapon is not empty";
        }
    }
}

TEST(DemoExecutable, PilotChoiceFieldsStayInTheirLists) {
    const std::set<unsigned> sideFlags = {0x00, 0x02, 0x08, 0x09, 0x0A, 0x18};
    const std::set<unsigned> transfers = {0x00, 0x01, 0x02, 0x04, 0x08};
    for (std::size_t i = 0; i < kPilots; ++i) {
        const std::size_t p = pilotAt(i);
        SCOPED_TRACE("pilot " + std::to_string(i));
        EXPECT_EQ(u16(exe(), p), i);
        for (std::size_t t = 80; t <= 83; ++t)
            EXPECT_LE(exe()[p + t], 5);
        EXPECT_EQ(sideFlags.count(exe()[p + 84]), 1u);
        EXPECT_EQ(transfers.count(exe()[p + 85]), 1u);
        for (std::size_t k = 0; k < 6; ++k) {
            const std::size_t s = p + 92 + 3 * k;
            EXPECT_LE(exe()[s], 30);
            if (exe()[s] != 0) {
                EXPECT_TRUE(exe()[s + 1] >= 1 && exe()[s + 1] <= 60);
                EXPECT_TRUE(exe()[s + 2] >= 5 && exe()[s + 2] <= 80);
            }
            EXPECT_LE(exe()[p + 110 + 10 * k], 34);  // skill code
        }
    }
}

TEST(DemoExecutable, SmallTableChoiceFieldsStayInTheirLists) {
    for (std::size_t k = 0; k < 32; ++k)
        EXPECT_LE(exe()[0x2B5B28 + 28 * k + 8], 3);
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_LE(exe()[0x2DA8B0 + 16 * i + 12], 1);
        EXPECT_EQ(exe()[0x2DA8B0 + 16 * i + 13], 0);
    }
    for (std::size_t i = 0; i < 98 * 6; ++i) {
        const std::uint8_t code = exe()[0x2B6220 + 3 * i];
        EXPECT_TRUE(code >= 1 && code <= 30) << "protagonist slot " << i;
    }
    for (std::size_t i = 0; i < 49; ++i) {
        const std::size_t p = 0x1FB604 + 32 * i;
        EXPECT_LE(exe()[p + 12], 1);  // mirage
        EXPECT_LE(exe()[p + 15], 1);  // air move
        EXPECT_LE(exe()[p + 16], 7);  // terrain code
        EXPECT_LE(exe()[p + 17], 3);  // special equipment
        EXPECT_LE(exe()[p + 19], 4);  // recovery item
        EXPECT_LE(exe()[p + 20], 4);  // SP recovery
    }
    // Guts corrections never fall as HP falls (rows go from HP 100% down to 10%).
    for (std::size_t level = 0; level < 9; ++level) {
        for (std::size_t r = 1; r < 10; ++r) {
            for (std::size_t k = 0; k < 4; ++k) {
                const std::size_t at = 0x2DE788 + 40 * level + 4 * r + k;
                EXPECT_GE(exe()[at], exe()[at - 4]);
                EXPECT_LE(exe()[at], 50);
            }
        }
    }
}

TEST(DemoExecutable, HoldsEdgeValuesToTryTheEditorOn) {
    bool hp100000 = false, moveType10 = false, highToggleBits = false, hitMinus10 = false,
         u16Max = false, costFF = false;
    for (std::size_t i = 0; i < kUnits; ++i) {
        const std::size_t u = unitAt(i);
        hp100000 |= u32(exe(), u + 36) == 100000;
        moveType10 |= exe()[u + 62] == 10;
        highToggleBits |= (exe()[u + 70] & 0xF0) != 0;
        u16Max |= u16(exe(), u + 50) == 65535 || u16(exe(), u + 52) == 65535;
        costFF |= exe()[u + 49] == 0xFF;
        for (std::size_t j = 0; j < 18; ++j)
            hitMinus10 |= s16(exe(), slotAt(i, j) + 46) == -10;
    }
    EXPECT_TRUE(hp100000);
    EXPECT_TRUE(moveType10);
    EXPECT_TRUE(highToggleBits);
    EXPECT_TRUE(hitMinus10);
    EXPECT_TRUE(u16Max);
    EXPECT_TRUE(costFF);
}

TEST(DemoExecutable, NamesDecodeBackThroughTheTable) {
    expectNamesDecode(exe(), chars(), [](const std::string& name) { return name; });
}

TEST(DemoExecutableNames, CharactersMissingFromTheTableAreLeftOut) {
    const std::vector<std::string> all = nameCharacters();
    std::vector<std::string> half;
    for (std::size_t k = 0; k < all.size(); k += 2)
        half.push_back(all[k]);
    const std::set<std::string> kept(half.begin(), half.end());
    const CharTable chars = tableOf(half);
    expectNamesDecode(makeDemoExecutable(chars), chars,
                      [&kept](const std::string& name) { return keepOnly(name, kept); });
}

TEST(DemoExecutableNames, ShippedTableHoldsEveryNameCharacter) {
#ifdef VORLAN_SOURCE_DATA_DIR
    const CharTable chars(readListFile(VORLAN_SOURCE_DATA_DIR, kCharList));
    expectNamesDecode(makeDemoExecutable(chars), chars,
                      [](const std::string& name) { return name; });
#else
    GTEST_SKIP() << "the data folder is not known to this build";
#endif
}

}  // namespace
}  // namespace vorlan
