// The pilot record definition through the engine: where records lie, each name's cut and
// write rule, the ability boxes in element order, and the bytes no field shows.

#include <gtest/gtest.h>

#include "document/entry_editor.h"
#include "fixtures/demo_exe.h"
#include "fixtures/engine.h"
#include "fixtures/fixtures.h"
#include "tables/catalog.h"
#include "tables/pilot_table.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t field(const char* key) {
    return static_cast<std::size_t>(pilotTable().fieldIndex(key));
}

TEST(PilotTable, RecordsNamesAbilitiesAndGaps) {
    const TableDef& t = pilotTable();
    EXPECT_EQ(t.entryOffset(0), 0x1FBC20u);
    EXPECT_EQ(t.entryOffset(1), 0x1FBCCAu);
    EXPECT_EQ(t.entryOffset(484), 0x20FD88u);
    EXPECT_EQ(t.end(), 0x20FE32u);
    EXPECT_EQ(t.field("Text40(0)")->caption, "SP");
    EXPECT_EQ(t.field("Text40(6)")->caption, "技量");
    EXPECT_EQ(t.field("Text40(3)")->offset, 75);
    EXPECT_EQ(t.field("Text47(1)")->offset, 111);
    EXPECT_EQ(t.field("Text52(9)")->offset, 169);
    EXPECT_EQ(t.field("Text47(0)"), nullptr);  // the learn-level boxes start at element 1

    ByteStore image(test::demoBytes());
    const std::uint64_t base = t.entryOffset(7);
    Bytes record(170, 0x11);
    // Surname 80 05 …: cut at the "00" found at an odd digit, then completed with "0".
    record[23] = 0x80, record[24] = 0x05;
    // A nickname of 21 non-zero bytes has no terminator: every digit is shown.
    for (int i = 2; i < 23; ++i)
        record[static_cast<std::size_t>(i)] = 0x82;
    record[80] = 9;    // a terrain grade without an item
    record[92] = 40;   // a spirit command without an item
    record[110] = 50;  // a skill without an item
    image.write(base, record);
    auto v = test::showIn(image, t, 7);
    EXPECT_EQ(v[field("terrain-air")], FieldValue::ofUnlisted("9"));
    EXPECT_EQ(v[field("spirit1")], FieldValue::ofUnlisted("40"));
    EXPECT_EQ(v[field("skill1")], FieldValue::ofUnlisted("50"));
    EXPECT_EQ(v[field("surname")].text, "80");
    std::string all;
    for (int i = 0; i < 21; ++i)
        all += "82";
    EXPECT_EQ(v[field("nickname")].text, all);
    EXPECT_EQ(v[field("sp")].text, "17");

    // A save of every field writes nothing into the gaps, even when a whole name changes.
    auto edited = v;
    edited[field("nickname")].text = "8281";
    edited[field("technique")].text = "200";
    edited[field("side")].text = "18";
    ASSERT_TRUE(test::saveIn(image, t, 7, v, edited).ok());
    const Bytes after = image.readBlock(base, 170);
    for (int gap : {68, 69, 70, 71, 79, 86, 87, 88, 89, 90, 91})
        EXPECT_EQ(after[static_cast<std::size_t>(gap)], 0x11) << gap;
    EXPECT_EQ(after[2], 0x82);
    EXPECT_EQ(after[3], 0x81);
    EXPECT_EQ(after[4], 0x00);  // the rest of the name is zero-filled to its width
    EXPECT_EQ(after[22], 0x00);
    EXPECT_EQ(after[78], 200);
    EXPECT_EQ(after[84], 0x18);
    // Values without an item are kept as stored.
    EXPECT_EQ(after[80], 9);
    EXPECT_EQ(after[92], 40);
    EXPECT_EQ(after[110], 50);
}

TEST(PilotTable, CopyMakesOnlyTheTargetRecordEqual) {
    const test::DemoExe exe;
    const Bytes before = exe.bytes();
    const test::CliRun r = exe.run({"copy", "pilot", "3", "9"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "已经把机师003的数据粘贴到机师009上\n");
    const Bytes after = exe.bytes();
    const std::size_t from = pilotTable().entryOffset(3);
    const std::size_t to = pilotTable().entryOffset(9);
    for (std::size_t at : test::differences(before, after))
        EXPECT_TRUE(at >= to && at < to + 170) << at;
    // The whole record, the three gaps included.
    for (std::size_t i = 0; i < 170; ++i)
        EXPECT_EQ(after[to + i], before[from + i]) << i;
}

}  // namespace
}  // namespace vorlan

namespace vorlan {
namespace {

// Surname 81 00 05 93 FA: shown cut at the "00" as "81", though a name follows.
Bytes cutSurname(const Bytes& exe, int pilot) {
    Bytes b = exe;
    const std::size_t at = pilotTable().entryOffset(pilot) + 23;
    const Bytes name{0x81, 0x00, 0x05, 0x93, 0xFA};
    std::fill(b.begin() + static_cast<std::ptrdiff_t>(at),
              b.begin() + static_cast<std::ptrdiff_t>(at + 21), 0);
    std::copy(name.begin(), name.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
}

TEST(PilotTable, ANameShownCutShortIsNamedBeforeItsTailIsCleared) {
    const test::DemoExe exe;
    test::writeFile(exe.path(), cutSurname(exe.bytes(), 4));
    {
        auto doc = Document::open(exe.path(), tableLayout(), {.backup = false});
        EntryEditor editor(*doc, nullptr);
        const EntryView view = editor.show(pilotTable(), 4);
        EXPECT_EQ(view.values[field("surname")].text, "81");
        auto edited = view.values;
        edited[field("nickname")].text = "8281";  // nothing after it is lost
        EXPECT_TRUE(editor.clearedNameBytes({{&pilotTable(), 4, view.values, edited}}).empty());
        edited[field("surname")].text = "82";
        const auto cleared = editor.clearedNameBytes({{&pilotTable(), 4, view.values, edited}});
        ASSERT_EQ(cleared.size(), 1u);
        EXPECT_NE(cleared[0].find("机师姓"), std::string::npos);
        EXPECT_NE(cleared[0].find("3 个"), std::string::npos) << cleared[0];
        EXPECT_NE(cleared[0].find("第 3–5 字节"), std::string::npos) << cleared[0];
    }
    // The command line writes by the rule and says which bytes it cleared.
    const test::CliRun r = exe.run({"--no-backup", "set", "pilot", "4", "Text29=82"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("清为 00"), std::string::npos) << r.err;
    const std::size_t at = pilotTable().entryOffset(4) + 23;
    EXPECT_EQ(exe.bytes()[at], 0x82);
    EXPECT_EQ(exe.bytes()[at + 3], 0x00);
}

}  // namespace
}  // namespace vorlan
