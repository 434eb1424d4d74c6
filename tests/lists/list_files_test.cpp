// List files: the entry syntax, the two encodings, and the refusal of missing or short files.

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "fixtures/portable.h"
#include "lists/list_entries.h"
#include "lists/name_lists.h"

namespace vorlan {
namespace {

using Entries = std::vector<std::string>;

using test::toGbk;

// A list file of `count` lines "name0" … with `text` in front.
std::string numbered(int count, const std::string& prefix = "name") {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += prefix + std::to_string(i) + "\n";
    return s;
}

TEST(ListEntries, CommasQuotesAndBlanks) {
    EXPECT_EQ(parseEntries("a,b\nc\n", 10), (Entries{"a", "b", "c"}));
    EXPECT_EQ(parseEntries("\"a,b\"\nc", 10), (Entries{"a,b", "c"}));
    EXPECT_EQ(parseEntries("  lead\n\" in quotes \"\ntrail  \n", 10),
              (Entries{"lead", " in quotes ", "trail  "}));
    EXPECT_EQ(parseEntries("8140A\r\n\"814B,\"\r\n", 10), (Entries{"8140A", "814B,"}));
    EXPECT_EQ(parseEntries("first\n\nthird\n", 10), (Entries{"first", "", "third"}));
    EXPECT_EQ(parseEntries("\"quoted\" ignored,next\n", 10), (Entries{"quoted", "next"}));
    EXPECT_EQ(parseEntries("a,\nb\n", 10), (Entries{"a", "b"}));
}

TEST(ListEntries, StopsAtTheCountAndIgnoresExtraLines) {
    EXPECT_EQ(parseEntries("a\nb\nc\nd\n", 2), (Entries{"a", "b"}));
    EXPECT_EQ(parseEntries("a,b,c\n", 2), (Entries{"a", "b"}));
}

TEST(ListFiles, ACommaShiftsEveryLaterNameUnlessQuoted) {
    test::TempDir dir;
    test::writeText(dir / "unit.txt", "X,Y\n" + numbered(480));
    auto units = readListFile(dir.path(), kUnitList);
    EXPECT_EQ(units[1], "Y");
    EXPECT_EQ(units[2], "name0");
    test::writeText(dir / "unit.txt", "\"X,Y\"\n" + numbered(480));
    units = readListFile(dir.path(), kUnitList);
    EXPECT_EQ(units[0], "X,Y");
    EXPECT_EQ(units[1], "name0");
}

TEST(ListFiles, ReadsGbkAndUtf8Alike) {
    test::TempDir dir;
    const std::string text = numbered(35, "技能");
    test::writeText(dir / "jn.txt", toGbk(text));
    const auto fromGbk = readListFile(dir.path(), kSkillList);
    test::writeText(dir / "jn.txt", "\xEF\xBB\xBF" + text);
    const auto fromUtf8 = readListFile(dir.path(), kSkillList);
    EXPECT_EQ(fromGbk, fromUtf8);
    EXPECT_EQ(fromGbk[34], "技能34");
}

TEST(ListFiles, MissingAndShortFilesAreRefusedByNameAndCount) {
    test::TempDir dir;
    try {
        readListFile(dir.path(), kPilotList);
        FAIL() << "missing file accepted";
    } catch (const DataFileError& e) {
        EXPECT_NE(std::string(e.what()).find("pilot.txt"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("485"), std::string::npos);
    }
    test::writeText(dir / "pilot.txt", numbered(484));
    try {
        readListFile(dir.path(), kPilotList);
        FAIL() << "short file accepted";
    } catch (const DataFileError& e) {
        EXPECT_NE(std::string(e.what()).find("pilot.txt"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("484"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("485"), std::string::npos);
    }
}

// A downloaded list whose names hold terminal controls would write them wherever a label is
// shown: it is refused, naming the entry with its controls as codes.
TEST(ListFiles, ListsWithControlCharactersAreRefused) {
    test::TempDir dir;
    for (const std::string bad : {"\x1b]0;pwned\x07",
                                  "\xc2\x9b"
                                  "2J",
                                  "del\x7f"}) {
        test::writeText(dir / "unit.txt", "ok\n" + bad + "\n" + numbered(479));
        try {
            readListFile(dir.path(), kUnitList);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const DataFileError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("第 2 项"), std::string::npos) << m;
            EXPECT_EQ(m.find_first_of("\x1b\x7f\x07"), std::string::npos) << m;
        }
    }
    test::writeText(dir / "unit.txt", "tab\tinside\n" + numbered(480));
    EXPECT_EQ(readListFile(dir.path(), kUnitList)[0], "tab\tinside");
}

// A CR that is not part of a CR LF would shift every later name: the list is refused, naming
// the file and the line; CR LF and LF end lines alike.
TEST(ListFiles, ALoneCarriageReturnIsRefusedNamingTheLine) {
    test::TempDir dir;
    const struct {
        ListFile list;
        std::string text;
        const char* line;
    } cases[] = {{kUnitList, "a\nb\rc\n" + numbered(480), " 的第 2 行"},
                 {kCharList, "\xE7\x94\xB2\r\n\r", " 的第 2 行"},  // 甲 CR LF CR
                 {kSkillList, numbered(35) + "last\r", " 的第 36 行"}};
    for (const auto& c : cases) {
        test::writeText(dir / c.list.name, c.text);
        try {
            readListFile(dir.path(), c.list);
            ADD_FAILURE() << c.list.name;
        } catch (const DataFileError& e) {
            EXPECT_NE(std::string(e.what()).find((dir / c.list.name).string() + c.line),
                      std::string::npos)
                << e.what();
        }
    }
    test::writeText(dir / "unit.txt", "x\r\n" + numbered(480));
    EXPECT_EQ(readListFile(dir.path(), kUnitList)[1], "name0");
}

TEST(ListFiles, LoadsAllFourOrNothing) {
    const NameLists lists = loadNameLists(test::sourceDataDir());
    EXPECT_EQ(lists.units.size(), 481u);
    EXPECT_EQ(lists.pilots.size(), 485u);
    EXPECT_EQ(lists.chars.size(), 7302u);
    EXPECT_EQ(lists.skills.size(), 35u);

    test::TempDir dir;
    for (const char* name : {"unit.txt", "pilot.txt", "string.txt", "jn.txt"}) {
        std::filesystem::copy_file(test::sourceDataDir() / name, dir / name);
    }
    test::writeText(dir / "jn.txt", numbered(3));
    EXPECT_THROW(loadNameLists(dir.path()), DataFileError);
}

}  // namespace
}  // namespace vorlan
