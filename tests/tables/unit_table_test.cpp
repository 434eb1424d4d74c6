// The unit header and weapon slot definitions through the engine: how each field is
// shown, what a write stores, and that unchanged fields keep every stored bit.

#include <gtest/gtest.h>

#include "document/entry_editor.h"
#include "fixtures/engine.h"
#include "fixtures/fixtures.h"
#include "schema/record_io.h"
#include "tables/catalog.h"
#include "tables/unit_patches.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

class UnitTableTest : public ::testing::Test {
protected:
    UnitTableTest() : file_(test::demoBytes()) {}

    // Puts `bytes` at `offset` of unit `unit`'s record.
    void put(int unit, int offset, const Bytes& bytes) {
        file_.write(unitTable().entryOffset(unit) + static_cast<std::uint64_t>(offset), bytes);
    }
    Bytes at(int unit, int offset, int count) {
        return file_.readBlock(unitTable().entryOffset(unit) + static_cast<std::uint64_t>(offset),
                               static_cast<std::size_t>(count));
    }
    std::vector<FieldValue> header(int unit) { return test::showIn(file_, unitTable(), unit); }
    FieldValue& value(std::vector<FieldValue>& v, const char* key) {
        return v[static_cast<std::size_t>(unitTable().fieldIndex(key))];
    }
    // Shows unit `unit`, lets `edit` change the values, and saves; returns the outcome.
    template <typename Edit>
    SaveOutcome edit(int unit, Edit change, const TableDef& table = unitTable()) {
        const auto shown = test::showIn(file_, table, unit);
        auto edited = shown;
        change(edited);
        return test::saveIn(file_, table, unit, shown, edited);
    }

    ByteStore file_;
};

TEST_F(UnitTableTest, RecordAndSlotPositions) {
    EXPECT_EQ(unitTable().entryOffset(0), 0x210020u);
    EXPECT_EQ(unitTable().entryOffset(1), 0x210570u);
    EXPECT_EQ(unitTable().entryOffset(480), 0x2AF620u);
    EXPECT_EQ(unitTable().end(), 0x2AFB70u);
    EXPECT_EQ(weaponTable().entryOffset(0), 0x210084u);
    EXPECT_EQ(weaponTable().entryOffset(17), 0x21052Au);
    EXPECT_EQ(weaponTable().entryOffset(480 * kSlotsPerUnit + 17), 0x2AFB2Au);
}

TEST_F(UnitTableTest, NameCodeCutAndWriteRules) {
    Bytes name(34, 0x55);
    name[0] = 0x12, name[1] = 0x30, name[2] = 0x00, name[3] = 0x05;
    put(9, 2, name);
    auto v = header(9);
    EXPECT_EQ(value(v, "name").text, "1230");  // cut across the byte boundary, then completed
    put(9, 2, Bytes(34, 0x41));
    v = header(9);
    std::string all;
    for (int i = 0; i < 34; ++i)
        all += "41";
    EXPECT_EQ(value(v, "name").text, all);  // no terminator: every digit is shown

    ASSERT_TRUE(edit(9, [&](auto& e) { value(e, "name").text = "123"; }).ok());
    Bytes expected(34, 0);
    expected[0] = 0x12, expected[1] = 0x30;
    EXPECT_EQ(at(9, 2, 34), expected);
    ASSERT_TRUE(edit(9, [&](auto& e) { value(e, "name").text = std::string(70, 'a'); }).ok());
    EXPECT_EQ(at(9, 2, 34), Bytes(34, 0xAA));  // digits beyond the 68th are ignored
    EXPECT_FALSE(edit(9, [&](auto& e) { value(e, "name").text = "12G4"; }).ok());
}

TEST_F(UnitTableTest, NumbersStepsAndHexBytes) {
    put(2, 36, {0xA0, 0x86, 0x01, 0x00});
    put(2, 49, {0x0A});
    put(2, 58, {0xA5, 0x3F});
    auto v = header(2);
    EXPECT_EQ(value(v, "hp").text, "100000");
    EXPECT_EQ(value(v, "cost").text, "0A");
    EXPECT_EQ(value(v, "step-en").text, "10");
    EXPECT_EQ(value(v, "step-hp").text, "5");
    EXPECT_EQ(value(v, "step-armor").text, "3");
    EXPECT_EQ(value(v, "step-mobility").text, "15");

    ASSERT_TRUE(edit(2, [&](auto& e) {
                    value(e, "cost").text = "b";
                    value(e, "step-hp").text = "12";
                    value(e, "en").text = "65535";
                }).ok());
    EXPECT_EQ(at(2, 49, 1), Bytes{0x0B});
    EXPECT_EQ(at(2, 58, 2), (Bytes{0xAC, 0x3F}));
    EXPECT_EQ(at(2, 40, 2), (Bytes{0xFF, 0xFF}));
    for (const auto& [key, text] :
         std::vector<std::pair<const char*, const char*>>{{"step-en", "16"},
                                                          {"en", "65536"},
                                                          {"chips", "256"},
                                                          {"cost", "100"},
                                                          {"attribute", "x1"}}) {
        const auto out = edit(2, [&](auto& e) { value(e, key).text = text; });
        EXPECT_FALSE(out.ok()) << key << "=" << text;
    }
}

TEST_F(UnitTableTest, MoveTypeRemapAndUnlistedValues) {
    put(4, 62, {10});
    auto v = header(4);
    EXPECT_EQ(value(v, "move-type").index, 8);
    put(4, 62, {8});
    v = header(4);
    EXPECT_EQ(value(v, "move-type").index, 8);
    // Saving untouched keeps the stored 8; picking the item again stores 10.
    ASSERT_TRUE(edit(4, [&](auto& e) { value(e, "hp").text = "1234"; }).ok());
    EXPECT_EQ(at(4, 62, 1), Bytes{8});
    ASSERT_TRUE(edit(4, [&](auto& e) { value(e, "move-type") = FieldValue::ofChoice(7); }).ok());
    ASSERT_TRUE(edit(4, [&](auto& e) { value(e, "move-type") = FieldValue::ofChoice(8); }).ok());
    EXPECT_EQ(at(4, 62, 1), Bytes{10});

    put(4, 62, {9});
    put(4, 48, {6});
    put(4, 80, {0xE5, 0x01});  // pilot 485: beyond the list
    v = header(4);
    EXPECT_EQ(value(v, "move-type"), FieldValue::ofUnlisted("9"));
    EXPECT_EQ(value(v, "size"), FieldValue::ofUnlisted("6"));
    EXPECT_EQ(value(v, "pilot"), FieldValue::ofUnlisted("485"));
    ASSERT_TRUE(edit(4, [&](auto& e) { value(e, "exp").text = "77"; }).ok());
    EXPECT_EQ(at(4, 62, 1), Bytes{9});
    EXPECT_EQ(at(4, 48, 1), Bytes{6});
    EXPECT_EQ(at(4, 80, 2), (Bytes{0xE5, 0x01}));
    EXPECT_FALSE(edit(4, [&](auto& e) { value(e, "size") = FieldValue::ofUnlisted("7"); }).ok());
}

TEST_F(UnitTableTest, SkillBitSetsAndToggles) {
    put(6, 68, {0x01, 0x00});
    put(6, 72, {0x00, 0x80});
    put(6, 70, {0xF5});
    auto v = header(6);
    EXPECT_EQ(value(v, "skills1").marks, std::vector<int>{15});  // bit 0 is the last item
    EXPECT_EQ(value(v, "skills2").marks, std::vector<int>{0});   // bit 15 is the first item
    EXPECT_TRUE(value(v, "icon0").on);
    EXPECT_FALSE(value(v, "icon1").on);
    EXPECT_TRUE(value(v, "icon2").on);
    EXPECT_FALSE(value(v, "icon3").on);

    ASSERT_TRUE(edit(6, [&](auto& e) {
                    value(e, "skills1").marks = {7, 8};  // the two "チャクラシールド" bits
                    value(e, "icon1").on = true;
                    value(e, "icon0").on = false;
                }).ok());
    EXPECT_EQ(at(6, 68, 2), (Bytes{0x80, 0x01}));
    EXPECT_EQ(at(6, 70, 1), Bytes{0xF6});  // bits 4 to 7 keep their stored value
}

TEST_F(UnitTableTest, UnchangedSaveKeepsTheRecordByteForByte) {
    put(8, 2, {0x41, 0x42, 0x00, 0x00, 0x99, 0x98});  // bytes after the cut
    put(8, 62, {8});
    put(8, 70, {0xF5});
    const Bytes before = file_.bytes();

    const auto out = edit(8, [](auto&) {});
    EXPECT_TRUE(out.ok());
    EXPECT_EQ(out.writeLength, 0u);
    EXPECT_EQ(file_.bytes(), before);
}

TEST_F(UnitTableTest, WeaponSlotFields) {
    const int slot = 3 * kSlotsPerUnit + 2;
    const auto base = weaponTable().entryOffset(slot);
    file_.write(base + 46, Bytes{0xF6, 0xFF, 0x40, 0x9C});
    file_.write(base + 65, Bytes{0x21});
    auto v = test::showIn(file_, weaponTable(), slot);
    const auto f = [&](const char* key) {
        return v[static_cast<std::size_t>(weaponTable().fieldIndex(key))];
    };
    EXPECT_EQ(f("hit").text, "-10");
    EXPECT_EQ(f("ct").text, "-25536");
    EXPECT_EQ(f("level").text, "2");
    EXPECT_EQ(f("required-skill").index, 1);

    const Bytes slotBefore = file_.readBlock(base, 70);
    const auto out = edit(
        slot,
        [&](auto& e) {
            e[static_cast<std::size_t>(weaponTable().fieldIndex("hit"))].text = "100";
            e[static_cast<std::size_t>(weaponTable().fieldIndex("level"))].text = "f";
            e[static_cast<std::size_t>(weaponTable().fieldIndex("required-skill"))] =
                FieldValue::ofChoice(2);
        },
        weaponTable());
    ASSERT_TRUE(out.ok()) << out.refusals.front().message;
    Bytes expected = slotBefore;
    expected[46] = 0x64, expected[47] = 0x00, expected[65] = 0xF2;
    EXPECT_EQ(file_.readBlock(base, 70), expected);  // the unshown bytes 40, 41, 59-63, 66-69 too

    for (const auto& [key, text] :
         std::vector<std::pair<const char*, const char*>>{{"level", "10"},
                                                          {"level", "G"},
                                                          {"hit", "65536"},
                                                          {"hit", "-32769"},
                                                          {"range-min", "256"}}) {
        const auto bad = edit(
            slot,
            [&](auto& e) {
                e[static_cast<std::size_t>(weaponTable().fieldIndex(key))].text = text;
            },
            weaponTable());
        EXPECT_FALSE(bad.ok()) << key << "=" << text;
    }
    file_.write(base + 65, Bytes{0x25});  // skill 5 has no item: shown as its number, kept
    v = test::showIn(file_, weaponTable(), slot);
    EXPECT_EQ(f("required-skill"), FieldValue::ofUnlisted("5"));
    ASSERT_TRUE(edit(
                    slot,
                    [&](auto& e) {
                        e[static_cast<std::size_t>(weaponTable().fieldIndex("level"))].text = "3";
                    },
                    weaponTable())
                    .ok());
    EXPECT_EQ(file_.readBlock(base + 65, 1), Bytes{0x35});
}

TEST(UnitPatches, CopyPasteAndPatchesTouchOnlyTheirBytes) {
    test::TempDir dir;
    const auto path = test::writeDemo(dir / "SLKV_618.04");
    const Bytes before = test::readFile(path);
    const auto doc = Document::open(path, tableLayout(), DocumentOptions{.backup = false});
    EntryEditor editor(*doc, nullptr);
    ASSERT_EQ(editor.paste(unitTable(), 7, editor.copy(unitTable(), 3), "3").status,
              WriteResult::Status::Written);
    Bytes expected = before;
    std::copy(before.begin() + 0x211010, before.begin() + 0x211560, expected.begin() + 0x212550);
    EXPECT_EQ(test::readFile(path), expected);

    for (const TablePatch* p : allPatches()) {
        const WriteResult r = editor.setOnAll(*p->table, p->values, p->caption);
        ASSERT_EQ(r.status, WriteResult::Status::Written) << r.message;
        EXPECT_EQ(editor.setOnAll(*p->table, p->values, p->caption).status,
                  WriteResult::Status::Unchanged);
    }
    for (int i = 0; i < kUnitCount; ++i) {
        const auto base = unitTable().entryOffset(i);
        expected[base + 58] = 0xAA;
        expected[base + 59] = 0xAA;
        expected[base + 61] = 0x04;
    }
    EXPECT_EQ(test::readFile(path), expected);
    ByteStore image(expected);
    const auto v = test::showIn(image, unitTable(), 480);
    EXPECT_EQ(v[static_cast<std::size_t>(unitTable().fieldIndex("step-mobility"))].text, "10");
    EXPECT_EQ(v[static_cast<std::size_t>(unitTable().fieldIndex("chips"))].text, "4");
}

}  // namespace
}  // namespace vorlan
