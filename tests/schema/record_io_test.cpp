// The generic show and save: every changed field is checked before anything is written,
// only changed fields are written, and a save is one positioned write.

#include <gtest/gtest.h>

#include "fixtures/engine.h"
#include "schema/record_io.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

FieldDef field(std::string key, std::string caption, int offset, int width, EncodingPtr e,
               std::uint8_t mask = 0) {
    return FieldDef{key, key, std::move(caption), "", offset, width, std::move(e), mask};
}

// A 16-byte entry with one field of each kind; bytes 5, 14 and 15 belong to no field.
const TableDef& sample() {
    static const TableDef t = [] {
        TableDef d = tableOf("sample", "样例", 4, 16, 2);
        d.fields = {field("hp", "HP", 0, 4, decimal()),
                    field("cost", "COST", 4, 1, hexNumber()),
                    field("size", "SIZE", 6, 1, choice({"SS", "S", "M"})),
                    field("hit", "命中", 7, 2, signedDecimal()),
                    field("high", "EN", 9, 1, decimal(), 0xF0),
                    field("low", "HP步", 9, 1, decimal(), 0x0F),
                    field("ptr", "指针", 10, 4, hexRun())};
        return d;
    }();
    return t;
}

Bytes fileBytes() {
    Bytes b(4 + 32, 0xEE);
    const Bytes entry1{0xA0, 0x86, 0x01, 0x00, 0x0A, 0x77, 0x07, 0xF6,
                       0xFF, 0xA5, 0xB0, 0xA1, 0x32, 0x00, 0x99, 0x98};
    std::copy(entry1.begin(), entry1.end(), b.begin() + 4 + 16);
    return b;
}

TEST(RecordIo, ShowsEveryFieldInItsForm) {
    ByteStore file(fileBytes());
    const auto v = test::showIn(file, sample(), 1);
    EXPECT_EQ(v[0].text, "100000");
    EXPECT_EQ(v[1].text, "0A");
    EXPECT_EQ(v[2], FieldValue::ofUnlisted("7"));  // a stored value without an item
    EXPECT_EQ(v[3].text, "-10");
    EXPECT_EQ(v[4].text, "10");
    EXPECT_EQ(v[5].text, "5");
    EXPECT_EQ(v[6].text, "B0A13200");
}

TEST(RecordIo, UnchangedSaveWritesNothing) {
    ByteStore file(fileBytes());
    const auto shown = test::showIn(file, sample(), 1);
    const SaveOutcome out = test::saveIn(file, sample(), 1, shown, shown);
    EXPECT_TRUE(out.ok());
    EXPECT_EQ(out.writeLength, 0u);
    EXPECT_EQ(file.bytes(), fileBytes());
}

TEST(RecordIo, WritesOnlyChangedFieldsInOneWrite) {
    ByteStore file(fileBytes());
    const auto shown = test::showIn(file, sample(), 1);
    auto edited = shown;
    edited[1].text = "b";   // COST
    edited[5].text = "15";  // low nibble only
    const SaveOutcome out = test::saveIn(file, sample(), 1, shown, edited);
    ASSERT_TRUE(out.ok()) << out.refusals.front().message;
    EXPECT_EQ(out.writeOffset, 4u + 16 + 4);  // one write, from COST …
    EXPECT_EQ(out.writeLength, 6u);           // … to the nibble byte
    Bytes expected = fileBytes();
    expected[4 + 16 + 4] = 0x0B;
    expected[4 + 16 + 9] = 0xAF;  // the high nibble keeps its stored value
    EXPECT_EQ(file.bytes(), expected);
    // The stored SIZE 7, which has no item, was not touched.
    EXPECT_EQ(file.bytes()[4 + 16 + 6], 0x07);
}

TEST(RecordIo, RefusesEveryBadFieldAndWritesNothing) {
    ByteStore file(fileBytes());
    const auto shown = test::showIn(file, sample(), 1);
    auto edited = shown;
    edited[0].text = "123";
    edited[3].text = "70000";  // 命中 accepts -32768 … 65535
    edited[4].text = "16";     // a nibble takes 0 … 15
    const SaveOutcome out = test::saveIn(file, sample(), 1, shown, edited);
    EXPECT_FALSE(out.ok());
    // Every bad field, in field order; no field counts as written.
    ASSERT_EQ(out.refusals.size(), 2u);
    EXPECT_EQ(out.refusals[0].field, 3);
    EXPECT_EQ(out.refusals[0].message, "「命中」应为 -32768 到 65535 之间的整数。");
    EXPECT_EQ(out.refusals[1].field, 4);
    EXPECT_TRUE(out.fields.empty());
    EXPECT_EQ(out.writeLength, 0u);
    EXPECT_EQ(file.bytes(), fileBytes());
}

TEST(RecordIo, ConversionsAtTheEdges) {
    Bytes entry(16, 0);
    const auto shown = [&] {
        ByteStore m(entry);
        return readEntry(m, sample());
    }();
    struct Case {
        int field;
        std::string text;
        bool ok;
    };
    const Case cases[] = {{0, "-1", true},      {0, "4294967295", true}, {0, "4294967296", false},
                          {0, "", false},       {0, "12abc", false},     {1, "FF", true},
                          {1, "100", false},    {1, "G1", false},        {3, "-32768", true},
                          {3, "-32769", false}, {3, "40000", true},      {4, "15", true},
                          {6, "1234", true},    {6, "123456789", false}, {6, "12 34", false}};
    for (const Case& c : cases) {
        auto edited = shown;
        edited[static_cast<std::size_t>(c.field)].text = c.text;
        Bytes work = entry;
        EXPECT_EQ(applyEdits(work, sample(), shown, edited).ok(), c.ok) << c.field << " " << c.text;
    }
}

TEST(RecordIo, WrittenValuesReadBackAsTheEditorShowsThem) {
    Bytes entry(16, 0);
    ByteStore m(entry);
    const auto shown = readEntry(m, sample());
    auto edited = shown;
    edited[0].text = "-1";
    edited[2] = FieldValue::ofChoice(2);
    edited[3].text = "40000";
    edited[6].text = "1234";
    ASSERT_TRUE(applyEdits(entry, sample(), shown, edited).ok());
    EXPECT_EQ(Bytes(entry.begin(), entry.begin() + 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(entry.begin() + 7, entry.begin() + 9), (Bytes{0x40, 0x9C}));
    EXPECT_EQ(Bytes(entry.begin() + 10, entry.begin() + 14), (Bytes{0x12, 0x34, 0x00, 0x00}));
    ByteStore again(entry);
    const auto v = readEntry(again, sample());
    EXPECT_EQ(v[0].text, "4294967295");
    EXPECT_EQ(v[2].index, 2);
    EXPECT_EQ(v[3].text, "-25536");
}

}  // namespace
}  // namespace vorlan
