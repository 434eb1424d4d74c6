// The tables of "其他修改" through the engine: upgrade costs and increments, skill training.

#include <gtest/gtest.h>

#include "fixtures/engine.h"
#include "fixtures/fixtures.h"
#include "tables/skill_training_table.h"
#include "tables/upgrade_tables.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t field(const TableDef& t, const char* key) {
    return static_cast<std::size_t>(t.fieldIndex(key));
}

TEST(OtherTables, UpgradeRowsLieWhereTheirChoosersSay) {
    EXPECT_EQ(upgradeCostTable().entryOffset(1), 0x2DDC38u);  // "EN"
    EXPECT_EQ(upgradeCostTable().entryOffset(1) + 39, 0x2DDC5Fu);
    EXPECT_EQ(upgradeCostTable().end(), 0x2DDCB0u);
    EXPECT_EQ(upgradeIncrementTable().entryOffset(4), 0x2DDE20u);  // "第五种"
    EXPECT_EQ(upgradeIncrementTable().end(), 0x2DDE34u);
    EXPECT_EQ(upgradeCostTable().label(1, nullptr), "EN");
    EXPECT_EQ(upgradeIncrementTable().label(4, nullptr), "第五种");
    EXPECT_EQ(skillTrainingTable().entryOffset(0), 0x2B5B28u);
    EXPECT_EQ(skillTrainingTable().entryOffset(31), 0x2B5E8Cu);
    EXPECT_EQ(skillTrainingTable().label(31, nullptr), "技能32");
}

TEST(OtherTables, CostsAndIncrementsConvertAtTheirEdges) {
    ByteStore image(test::demoBytes());
    const TableDef& cost = upgradeCostTable();
    auto v = test::showIn(image, cost, 0);
    auto edited = v;
    edited[field(cost, "step10")].text = "-1";
    ASSERT_TRUE(test::saveIn(image, cost, 0, v, edited).ok());
    EXPECT_EQ(image.readBlock(0x2DDC34, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    v = test::showIn(image, cost, 0);
    EXPECT_EQ(v[field(cost, "step10")].text, "4294967295");
    // Shown unsigned, it is written back unchanged.
    const Bytes before = image.bytes();
    ASSERT_TRUE(test::saveIn(image, cost, 0, v, v).ok());
    EXPECT_EQ(image.bytes(), before);
    edited = v;
    edited[field(cost, "step1")].text = "4294967296";
    EXPECT_FALSE(test::saveIn(image, cost, 0, v, edited).ok());

    const TableDef& inc = upgradeIncrementTable();
    v = test::showIn(image, inc, 0);
    edited = v;
    edited[field(inc, "step1")].text = "1000";
    ASSERT_TRUE(test::saveIn(image, inc, 0, v, edited).ok());
    EXPECT_EQ(image.readBlock(0x2DDDD0, 2), (Bytes{0xE8, 0x03}));
    edited[field(inc, "step1")].text = "65536";
    EXPECT_FALSE(test::saveIn(image, inc, 0, test::showIn(image, inc, 0), edited).ok());
}

TEST(OtherTables, SkillTrainingPointersTypesAndUntouchedBytes) {
    const TableDef& t = skillTrainingTable();
    ByteStore image(test::demoBytes());
    const std::uint64_t base = t.entryOffset(5);
    Bytes entry(28, 0x77);
    entry[0] = 0xB0, entry[1] = 0xA1, entry[2] = 0x32, entry[3] = 0x00;
    entry[8] = 4;  // a training type without an item
    image.write(base, entry);
    auto v = test::showIn(image, t, 5);
    EXPECT_EQ(v[field(t, "name-pointer")].text, "B0A13200");
    EXPECT_EQ(v[field(t, "type")], FieldValue::ofUnlisted("4"));
    auto edited = v;
    edited[field(t, "text-pointer")].text = "1234";
    for (int m = 1; m <= 9; ++m)
        edited[field(t, ("pp" + std::to_string(m)).c_str())].text = std::to_string(m);
    ASSERT_TRUE(test::saveIn(image, t, 5, v, edited).ok());
    const Bytes after = image.readBlock(base, 28);
    EXPECT_EQ(Bytes(after.begin() + 4, after.begin() + 8), (Bytes{0x12, 0x34, 0x00, 0x00}));
    EXPECT_EQ(Bytes(after.begin(), after.begin() + 4), (Bytes{0xB0, 0xA1, 0x32, 0x00}));
    EXPECT_EQ(after[8], 4);
    EXPECT_EQ(after[9], 0x77);
    for (int m = 0; m < 9; ++m) {
        EXPECT_EQ(after[static_cast<std::size_t>(10 + 2 * m)], m + 1);
        EXPECT_EQ(after[static_cast<std::size_t>(11 + 2 * m)], 0x77) << m;
    }
    // Pointers take whole bytes in hex digits, at most four of them.
    for (const char* bad : {"123", "12345678AB", "12G4", ""}) {
        edited = v;
        edited[field(t, "name-pointer")].text = bad;
        EXPECT_FALSE(test::saveIn(image, t, 5, v, edited).ok()) << bad;
    }
}

}  // namespace
}  // namespace vorlan
