// The field access layer over a record buffer, as every show and save uses it.

#include <gtest/gtest.h>

#include <memory>

#include "access/field_access.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

class FieldAccessTest : public ::testing::Test {
protected:
    // A store holding `bytes`, with the cursor at the first byte.
    ByteStore& store(const Bytes& bytes) {
        store_ = ByteStore(bytes);
        return store_;
    }
    Bytes contents() { return store_.bytes(); }

    ByteStore store_;
};

TEST_F(FieldAccessTest, ReadsInStoredAndValueOrder) {
    FieldAccess fa(store({0x34, 0x12, 0x0A}));
    EXPECT_EQ(fa.readhex(2, ValueOrder), "1234");
    EXPECT_EQ(fa.curpos, 3);
    fa.curpos = 1;
    EXPECT_EQ(fa.readhex(2, StoredOrder), "3412");
    EXPECT_EQ(fa.readhex(1, StoredOrder), "0A");
    EXPECT_EQ(fa.curpos, 4);
}

TEST_F(FieldAccessTest, NumberReadsDifferInSignedness) {
    FieldAccess fa(store({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(fa.get16(), 65535);
    fa.curpos = 1;
    EXPECT_EQ(fa.get32(), -1);
    EXPECT_EQ(fa.curpos, 5);
    fa.curpos = 1;
    EXPECT_EQ(hextonum(fa.readhex(4, ValueOrder)), 4294967295u);
    fa.curpos = 1;
    EXPECT_EQ(fa.gethex16(), "FFFF");
    EXPECT_EQ(fa.getbyte(), 0xFF);
}

TEST_F(FieldAccessTest, WritesLittleEndianAndAdvances) {
    FieldAccess fa(store(Bytes(12, 0xEE)));
    fa.put16(0x1234);
    EXPECT_EQ(fa.curpos, 3);
    fa.put32(258);
    EXPECT_EQ(fa.curpos, 7);
    fa.put32(-1);
    fa.put16(5);
    EXPECT_EQ(fa.curpos, 13);
    EXPECT_EQ(contents(),
              (Bytes{0x34, 0x12, 0x02, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x00}));
}

TEST_F(FieldAccessTest, Put16Limits) {
    FieldAccess fa(store(Bytes(6, 0xEE)));
    fa.put16(0);
    fa.put16(65535);
    EXPECT_THROW(fa.put16(65536), RangeError);
    EXPECT_THROW(fa.put16(-1), RangeError);
    EXPECT_THROW(fa.putbyte(256), RangeError);
    EXPECT_THROW(fa.put32(std::int64_t{1} << 31), RangeError);
    // A refused value moves neither the cursor nor any byte.
    EXPECT_EQ(fa.curpos, 5);
    EXPECT_EQ(contents(), (Bytes{0x00, 0x00, 0xFF, 0xFF, 0xEE, 0xEE}));
}

TEST_F(FieldAccessTest, HexWritesTakeStoredOrderPairs) {
    FieldAccess fa(store(Bytes(9, 0xEE)));
    fa.puthex16("1");  // a pair beyond the end of the text writes 00
    fa.puthexbyte("");
    fa.puthexbyte("A");
    fa.puthex32("1234");
    fa.puthexbyte("ff");
    EXPECT_EQ(contents(), (Bytes{0x01, 0x00, 0x00, 0x0A, 0x12, 0x34, 0x00, 0x00, 0xFF}));
    fa.curpos = 1;
    fa.puthex16("ABCD");
    EXPECT_EQ(contents()[0], 0xAB);
    EXPECT_EQ(contents()[1], 0xCD);
}

TEST_F(FieldAccessTest, ReadBeyondTheEndFails) {
    FieldAccess fa(store({1, 2}));
    fa.curpos = 2;
    EXPECT_THROW(fa.readhex(2, StoredOrder), AccessError);
    fa.curpos = 0;
    EXPECT_THROW(fa.getbyte(), AccessError);
}

TEST(HexText, DigitRules) {
    EXPECT_EQ(hextonum("FFFFFFFF"), 4294967295u);
    EXPECT_EQ(hextonum("ff"), 255u);
    EXPECT_EQ(hextonum(""), 0u);
    EXPECT_EQ(hextonum("1G"), 16u);  // a non-hex character counts as digit 0
    EXPECT_EQ(hextobyte("a"), 10);
    EXPECT_THROW(hextobyte("100"), RangeError);
    EXPECT_EQ(padhex("A", 2), "0A");
    EXPECT_EQ(padhex("ABC", 4), "BC0A");
    EXPECT_EQ(padhex("5", 4), "0500");
}

}  // namespace
}  // namespace vorlan
