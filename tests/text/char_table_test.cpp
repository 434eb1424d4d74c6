// Decoding and lookup through the character table, answered from indexes: the results
// must be those of scanning the entries in order.

#include <gtest/gtest.h>

#include <random>

#include "fixtures/char_scan.h"
#include "fixtures/fixtures.h"
#include "lists/name_lists.h"
#include "text/char_table.h"

namespace vorlan {
namespace {

// A full-size table with the given entries at the given indexes and filler elsewhere.
CharTable table(std::initializer_list<std::pair<std::size_t, std::string>> entries) {
    std::vector<std::string> v(CharTable::kEntries);
    for (std::size_t k = 0; k < v.size(); ++k)
        v[k] = "F" + std::to_string(1000 + k % 9000).substr(1) + "□";
    for (const auto& [k, e] : entries)
        v[k] = e;
    return CharTable(std::move(v));
}

TEST(CharTableDecode, GroupsOfFourAndTheHighestMatch) {
    const CharTable t =
        table({{0, "8140机"}, {5, "8141体"}, {9, "8140甲"}, {20, "8142A"}, {30, "81機4字"}});
    EXPECT_EQ(t.decode("81418141"), "体体");
    EXPECT_EQ(t.decode("8140"), "甲");     // entry 9 beats entry 0
    EXPECT_EQ(t.decode("81429999"), "A");  // a group without an entry adds nothing
    EXPECT_EQ(t.decode(""), "");
    EXPECT_EQ(t.decode("8142A1"), "A");  // the short last group matches no plain entry
    EXPECT_EQ(t.decode("8141").size(), std::string("体").size());
    // A code with a character beyond ASCII, after, before and between plain groups.
    EXPECT_EQ(t.decode("814081機4"), "甲字");
    EXPECT_EQ(t.decode("81機48140"), "字甲");
    EXPECT_EQ(t.decode("814181機48142"), "体字A");
}

TEST(CharTableDecode, OnlyTheFirst7240EntriesAndExactCase) {
    const CharTable t = table({{7239, "ABCD末"}, {7240, "ABCE外"}, {100, "8A4F字"}});
    EXPECT_EQ(t.decode("ABCD"), "末");
    EXPECT_EQ(t.decode("ABCE"), "");
    EXPECT_EQ(t.decode("8a4f"), "");
    EXPECT_EQ(t.lookup("外").codes, "ABCE");  // the lookup sees every entry
}

TEST(CharTableLookup, HighestIndexWinsAndAMissingCharacterStops) {
    const CharTable t = table({{1, "8140机"}, {2, "8141体"}, {7000, "9999机"}, {3, "\"8142,\""}});
    auto r = t.lookup("机体");
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.codes, "99998141");
    r = t.lookup("机体X体");
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.missing, "X");
    EXPECT_EQ(r.codes, "");
    r = t.lookup("");
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.codes, "");
}

TEST(CharTableLookup, AnEmptyTableFindsNothing) {
    const CharTable empty;
    EXPECT_FALSE(empty.lookup("机").found);
    EXPECT_EQ(empty.decode("8140"), "");
}

// Random tables and texts from a small alphabet (so that codes collide and repeat), with
// characters beyond ASCII, stray bytes, cut sequences and short entries: the indexes answer
// as the scan does.
TEST(CharTableIndexes, AnswerAsTheScanForAnyEntries) {
    const std::vector<std::string> alphabet = {"8",    "1",    "A",    "a",  "機", "字",
                                               "\xE4", "\xC3", "\x80", "\0", "😀",  "é"};
    std::mt19937 random(20261208);
    const auto text = [&](std::size_t most) {
        std::string t;
        for (std::size_t n = random() % (most + 1); n > 0; --n)
            t += alphabet[random() % alphabet.size()];
        return t;
    };
    for (int round = 0; round < 3; ++round) {
        std::vector<std::string> entries(CharTable::kEntries);
        for (auto& e : entries)
            e = random() % 8 == 0 ? text(3) : text(4) + alphabet[random() % alphabet.size()];
        const CharTable t(entries);
        for (int i = 0; i < 300; ++i) {
            const std::string codes = text(12);
            ASSERT_EQ(t.decode(codes), test::scanDecode(entries, codes))
                << testing::PrintToString(codes);
            const std::string chars = text(4);
            const auto found = t.lookup(chars);
            ASSERT_EQ(found.codes, test::scanLookup(entries, chars))
                << testing::PrintToString(chars);
        }
    }
}

TEST(CharTableShipped, EveryCharacterRoundTrips) {
    const CharTable t(readListFile(test::sourceDataDir(), kCharList));
    const std::string text = "机体0123 ABC,xyz あア武器师";
    const auto r = t.lookup(text);
    ASSERT_TRUE(r.found) << r.missing;
    EXPECT_EQ(r.codes.size(), 4 * 20u);
    EXPECT_EQ(t.decode(r.codes), text);
}

}  // namespace
}  // namespace vorlan
