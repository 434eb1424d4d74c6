// The field-level difference of two executables: exactly the fields that were set, and the
// bytes no field shows as ranges.

#include <gtest/gtest.h>

#include "bulk/diff.h"
#include "fixtures/engine.h"
#include "fixtures/fixtures.h"
#include "tables/pilot_table.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

void set(ByteStore& image, const TableDef& table, int index, const char* key,
         const FieldValue& value) {
    const auto shown = test::showIn(image, table, index);
    auto edited = shown;
    edited[static_cast<std::size_t>(table.fieldIndex(key))] = value;
    ASSERT_TRUE(test::saveIn(image, table, index, shown, edited).ok()) << key;
}

TEST(Diff, ListsExactlyTheFieldsSetAndTheBytesNoFieldShows) {
    const Bytes original = test::demoBytes();
    EXPECT_TRUE(diffExecutables(original, original).changes.empty());
    EXPECT_TRUE(diffExecutables(original, original).other.empty());

    ByteStore image(original);
    set(image, unitTable(), 5, "hp", FieldValue::ofText("1234"));
    set(image, weaponTable(), 5 * 18 + 2, "hit", FieldValue::ofText("-10"));
    set(image, pilotTable(), 12, "Combo22(0)", FieldValue::ofChoice(3));
    Bytes edited = image.bytes();
    edited[0x1000] ^= 0xFF;  // code, not any table
    edited[0x1001] ^= 0x01;
    const ExecutableDiff d = diffExecutables(original, edited);
    ASSERT_EQ(d.changes.size(), 3u);
    const auto key = [&](std::size_t i) {
        const FieldChange& c = d.changes[i];
        return c.table->name + ":" + std::to_string(c.index) + ":" +
               c.table->fields[static_cast<std::size_t>(c.field)].key;
    };
    EXPECT_EQ(key(0), "unit:5:hp");
    EXPECT_EQ(d.changes[0].after.text, "1234");
    EXPECT_EQ(key(1), "weapon:92:hit");
    EXPECT_EQ(key(2).rfind("pilot:12:", 0), 0u) << key(2);
    ASSERT_EQ(d.other.size(), 1u);
    EXPECT_EQ(d.other[0].offset, 0x1000u);
    EXPECT_EQ(d.other[0].length, 2u);

    // Bytes of a name after its end are part of the field but not of what it shows.
    Bytes hidden = original;
    const FieldDef& name = *unitTable().field("name");
    const std::uint64_t last =
        unitTable().entryOffset(7) + static_cast<std::uint64_t>(name.offset + name.width - 1);
    hidden[last - 1] = 0;  // "0000": the name ends before the last byte
    hidden[last - 2] = 0;
    Bytes beyond = hidden;
    beyond[last] ^= 0x55;
    const ExecutableDiff d2 = diffExecutables(hidden, beyond);
    EXPECT_TRUE(d2.changes.empty());
    ASSERT_EQ(d2.other.size(), 1u);
    EXPECT_EQ(d2.other[0].offset, last);
}

}  // namespace
}  // namespace vorlan
