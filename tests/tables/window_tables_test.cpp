// The six window tables through the engine: where entries and boxes lie, the bytes no box
// shows, and the attack increments shared with the upgrade page.

#include <gtest/gtest.h>

#include "fixtures/engine.h"
#include "fixtures/fixtures.h"
#include "tables/upgrade_tables.h"
#include "tables/window_tables.h"
#include "tables/window_vocabularies.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

// File offset of the box `control` of entry `index`.
std::uint64_t at(const TableDef& t, const char* control, int index = 0) {
    const FieldDef* f = t.field(control);
    EXPECT_NE(f, nullptr) << control;
    return t.entryOffset(index) + static_cast<std::uint64_t>(f != nullptr ? f->offset : 0);
}

TEST(WindowTables, EntriesAndBoxesLieWhereTheWindowsShowThem) {
    EXPECT_EQ(gutsTable().entryOffset(0), 0x2DE788u);
    EXPECT_EQ(gutsTable().entryOffset(8), 0x2DE8C8u);
    EXPECT_EQ(gutsTable().end(), 0x2DE8F0u);
    EXPECT_EQ(at(gutsTable(), "Text1(39)", 8), 0x2DE8EFu);
    EXPECT_EQ(barrierTable().entryOffset(12), 0x2DA970u);
    EXPECT_EQ(at(skillCorrectionTable(), "Text1(89)"), 0x2DE963u);
    EXPECT_EQ(at(skillCorrectionTable(), "Text1(90)"), 0x2DE974u);
    EXPECT_EQ(at(skillCorrectionTable(), "Text1(125)"), 0x2DE997u);
    EXPECT_EQ(at(skillCorrectionTable(), "Text1(126)"), 0x2DE9A4u);
    EXPECT_EQ(at(skillCorrectionTable(), "Text1(161)"), 0x2DE9C7u);
    EXPECT_EQ(at(skillCorrectionTable(), "Text1(162)"), 0x2DE9D8u);
    EXPECT_EQ(at(skillCorrectionTable(), "Text1(233)"), 0x2DEA1Fu);
    EXPECT_EQ(skillCorrectionTable().fields.size(), 234u);
    EXPECT_EQ(partTable().entryOffset(48), 0x1FBC04u);
    EXPECT_EQ(at(weaponUpgradeTable(), "Text1(9)"), 0x2DDD24u);
    EXPECT_EQ(at(weaponUpgradeTable(), "Text1(10)"), 0x2DDD28u);
    EXPECT_EQ(at(weaponUpgradeTable(), "Text1(50)"), 0x2DDDD0u);
    EXPECT_EQ(at(weaponUpgradeTable(), "Text1(99)"), 0x2DDE32u);
    EXPECT_EQ(spiritTable().entryOffset(14), 0x2B631Cu);
    EXPECT_EQ(spiritTable().entryOffset(97), 0x2B68F2u);

    const auto& items = protagonistEntries();
    ASSERT_EQ(items.size(), 98u);
    EXPECT_EQ(items[0], "S金牛座[4/20~5/20]A型");
    EXPECT_EQ(items[7], "R金牛座[4/20~5/20]O型");
    EXPECT_EQ(items[14], "R双子座[5/21~6/21]AB型");
    EXPECT_EQ(items[95], "R白羊座[3/21~4/19]O型");
    EXPECT_EQ(items[96], "S系4P生日 11月11日B型");
    EXPECT_EQ(items[97], "R系4P生日 11月11日B型");
    EXPECT_EQ(protagonistSpirits().size(), 31u);
    EXPECT_EQ(protagonistSpirits()[30], "应援");
    EXPECT_EQ(partNames().size(), 49u);
    EXPECT_EQ(barrierNames().size(), 13u);
}

// Every entry saved unchanged stays as it was; every field written with its maximum
// leaves the bytes no box shows as they were.
TEST(WindowTables, SavesTouchOnlyTheBytesTheirBoxesShow) {
    for (const TableDef* t : {&gutsTable(), &barrierTable(), &skillCorrectionTable(), &partTable(),
                              &weaponUpgradeTable(), &spiritTable()}) {
        SCOPED_TRACE(t->name);
        ByteStore image(test::demoBytes());
        const int last = t->count - 1;
        const std::uint64_t base = t->entryOffset(last);
        Bytes entry(static_cast<std::size_t>(t->size), 0xA5);
        image.write(base, entry);
        const auto shown = test::showIn(image, *t, last);
        ASSERT_TRUE(test::saveIn(image, *t, last, shown, shown).ok());
        EXPECT_EQ(image.readBlock(base, entry.size()), entry);

        auto edited = shown;
        std::vector<bool> owned(entry.size(), false);
        for (std::size_t i = 0; i < t->fields.size(); ++i) {
            const FieldDef& f = t->fields[i];
            for (int b = f.offset; b < f.offset + f.width; ++b)
                owned[static_cast<std::size_t>(b)] = true;
            if (f.encoding->kind() == ValueKind::Choice)
                edited[i] = FieldValue::ofChoice(1);
            else
                edited[i].text = "1";
        }
        ASSERT_TRUE(test::saveIn(image, *t, last, shown, edited).ok());
        const Bytes after = image.readBlock(base, entry.size());
        for (std::size_t b = 0; b < after.size(); ++b) {
            if (!owned[b]) {
                EXPECT_EQ(after[b], 0xA5) << "byte " << b;
            }
        }
        // And every box's value was written: saving the same values again changes nothing.
        const SaveOutcome again =
            test::saveIn(image, *t, last, test::showIn(image, *t, last), edited);
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(again.writeLength, 0u) << "a value did not reach the file";
    }
}

TEST(WindowTables, EdgeValues) {
    ByteStore image(test::demoBytes());
    // A barrier of type 1 damage 4000; offset 13 keeps what it holds.
    const std::uint64_t b = barrierTable().entryOffset(3);
    image.write(b + 8, Bytes{0xA0, 0x0F, 0x00, 0x00, 0x01, 0x7E});
    auto v = test::showIn(image, barrierTable(), 3);
    EXPECT_EQ(v[2].text, "4000");
    EXPECT_EQ(v[3], FieldValue::ofChoice(1));
    auto edited = v;
    edited[3] = FieldValue::ofChoice(0);
    ASSERT_TRUE(test::saveIn(image, barrierTable(), 3, v, edited).ok());
    EXPECT_EQ(image.readBlock(b + 12, 2), (Bytes{0x00, 0x7E}));

    // Weapon upgrade costs are signed 32-bit words; increments 16-bit.
    const TableDef& w = weaponUpgradeTable();
    v = test::showIn(image, w, 0);
    edited = v;
    edited[static_cast<std::size_t>(w.fieldIndex("Text1(0)"))].text = "20000";
    edited[static_cast<std::size_t>(w.fieldIndex("Text1(1)"))].text = "-5";
    edited[static_cast<std::size_t>(w.fieldIndex("Text1(50)"))].text = "100";
    ASSERT_TRUE(test::saveIn(image, w, 0, v, edited).ok());
    EXPECT_EQ(image.readBlock(0x2DDD00, 8), (Bytes{0x20, 0x4E, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(image.readBlock(0x2DDDD0, 2), (Bytes{0x64, 0x00}));
    v = test::showIn(image, w, 0);
    EXPECT_EQ(v[1].text, "-5");
    // The same attack bytes are the upgrade page's first increment row.
    EXPECT_EQ(test::showIn(image, upgradeIncrementTable(), 0)[0].text, "100");

    // A part's HP bonus of 500 is F4 01; a protagonist slot of 00 00 00 is "----", 0, 0.
    image.write(partTable().entryOffset(0) + 2, Bytes{0xF4, 0x01});
    EXPECT_EQ(test::showIn(image, partTable(), 0)[1].text, "500");
    image.write(spiritTable().entryOffset(5), Bytes{0, 0, 0, 31});
    v = test::showIn(image, spiritTable(), 5);
    EXPECT_EQ(v[0], FieldValue::ofChoice(0));
    EXPECT_EQ(v[3], FieldValue::ofUnlisted("31"));  // a code without an item
}

}  // namespace
}  // namespace vorlan
