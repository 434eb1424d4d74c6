// Every table definition, checked for what typos break: keys and controls unique, fields
// inside the entry, no two fields owning the same bits, vocabularies fitting their width.

#include <gtest/gtest.h>

#include <set>

#include "schema/numeric_field.h"
#include "tables/catalog.h"

namespace vorlan {
namespace {

// The bits of the entry that a field owns, byte by byte.
std::vector<std::uint8_t> ownedBits(const FieldDef& f, int entrySize) {
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(entrySize), 0);
    for (int b = f.offset; b < f.offset + f.width; ++b) {
        bits[static_cast<std::size_t>(b)] = f.mask != 0 ? f.mask : 0xFF;
    }
    return bits;
}

TEST(Schema, EveryTableDefinitionIsSound) {
    for (const TableDef* t : allTables()) {
        SCOPED_TRACE(t->name);
        std::set<std::string> keys;
        std::set<std::string> controls;
        std::vector<std::uint8_t> taken(static_cast<std::size_t>(t->size), 0);
        for (const FieldDef& f : t->fields) {
            SCOPED_TRACE(f.key);
            EXPECT_TRUE(keys.insert(f.key).second) << "duplicate key";
            EXPECT_TRUE(controls.insert(f.control).second) << "duplicate control";
            EXPECT_FALSE(f.caption.empty());
            ASSERT_NE(f.encoding, nullptr);
            ASSERT_GE(f.offset, 0);
            ASSERT_LE(f.offset + f.width, t->size) << "field outside the entry";
            if (f.mask != 0) {
                EXPECT_EQ(f.width, 1) << "masks are for one-byte fields";
            }
            const auto bits = ownedBits(f, t->size);
            for (std::size_t b = 0; b < bits.size(); ++b) {
                EXPECT_EQ(taken[b] & bits[b], 0) << "overlaps another field at byte " << b;
                taken[b] |= bits[b];
            }
            const Encoding& e = *f.encoding;
            if (e.kind() == ValueKind::Choice) {
                EXPECT_LE(static_cast<std::uint32_t>(e.itemCount() - 1), maxNumber(f))
                    << "vocabulary too long";
                EXPECT_GT(e.itemCount(), 0);
            }
            if (e.kind() == ValueKind::Marks) {
                EXPECT_EQ(e.items().size(), 8u * static_cast<unsigned>(f.width));
            }
            if (e.kind() == ValueKind::Toggle) {
                EXPECT_EQ(__builtin_popcount(f.mask), 1);
            }
            for (int b = f.offset; b < f.offset + f.width; ++b)
                EXPECT_FALSE(t->isReserved(b)) << "field covers reserved byte " << b;
        }
        for (const ByteSpan& r : t->reserved) {
            EXPECT_GE(r.offset, 0);
            EXPECT_LE(r.offset + r.length, t->size) << "reserved bytes outside the entry";
        }
        for (const DecodedName& d : t->decoded) {
            const FieldDef* f = t->field(d.field);
            ASSERT_NE(f, nullptr) << d.field;
            EXPECT_EQ(f->encoding->name(), "name-code") << d.field;
            EXPECT_EQ(t->field(d.control), nullptr) << "a decoded box is display only";
        }
    }
}

}  // namespace
}  // namespace vorlan
