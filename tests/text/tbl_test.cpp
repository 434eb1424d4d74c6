// Character tables of other tools (".tbl"): read with every malformed line named, written
// from string.txt and read back to the same table, and used by the command line in place of
// string.txt.

#include <gtest/gtest.h>

#include "fixtures/demo_exe.h"
#include "lists/char_file.h"
#include "lists/name_lists.h"
#include "text/char_table.h"
#include "text/tbl.h"

namespace vorlan {
namespace {

using test::CliRun;

std::string refusal(std::string_view text) {
    try {
        parseTbl(text);
    } catch (const TblError& e) {
        return e.what();
    }
    return "(not refused)";
}

TEST(Tbl, ReadsCodesSkippingBlankAndCommentLinesAndNamesTheFirstBadLine) {
    EXPECT_EQ(
        parseTbl("; made by hand\r\n# another\n\n  \n8140=\xE3\x80\x80\r\n82a0=あ\n8141==\r8142=x"),
        (std::vector<std::string>{"8140\xE3\x80\x80", "82A0あ", "8141=", "8142x"}));
    struct Case {
        std::string text;
        const char* says;
    };
    const Case cases[] = {
        {"8140あ\n", "第 1 行"},
        {"; x\n814=あ\n", "第 2 行"},
        {"8140=あ\n8141=\n", "第 2 行"},
        {"8140=あい\n", "第 1 行"},
        {"81G0=あ\n", "第 1 行"},
        {"\n\n8140=\xFF\n", "第 3 行"},
        {" 8140=あ\n", "第 1 行"},
        {"; only comments\n", "没有任何"},
        // Control characters (C0, C1) are no characters of a name, and are quoted as codes.
        {"8140=あ\n8141=\x1b\n", "第 2 行不是「四位十六进制字码=一个字符」的形式：「8141=\\x1B」"},
        {"8140=\xc2\x9b\n", "第 1 行不是「四位十六进制字码=一个字符」的形式：「8140=\\x9B」"},
    };
    for (const Case& c : cases)
        EXPECT_NE(refusal(c.text).find(c.says), std::string::npos) << c.text << refusal(c.text);
    EXPECT_THROW(formatTbl({"8140あ", "81"}), TblError);
}

TEST(Tbl, StringTxtWrittenAsTblReadsBackToTheSameTable) {
    const auto entries = readListFile(test::sourceDataDir(), kCharList);
    EXPECT_EQ(parseTbl(formatTbl(entries)), entries);

    // Through the command line: export, then decode and look up with --chars.
    test::TempDir dir;
    const std::string tbl = (dir / "chars.tbl").string();
    CliRun r = test::cli({"chars", "export", tbl});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::cli({"chars", "export", tbl}).status, 1);  // never overwritten unasked
    EXPECT_EQ(test::cli({"chars", "export", tbl, "--force"}).status, 0);
    const CharTable table(entries);
    for (const char* codes : {"82A082A2", "81408141A7DB", "A7A0"}) {
        r = test::cli({"--chars", tbl, "decode", codes});
        EXPECT_EQ(r.out, table.decode(codes) + "\n") << codes;
    }
    const std::string text = table.decode("82A082A2834183428343");
    EXPECT_EQ(test::cli({"--chars", tbl, "lookup", text}).out, test::cli({"lookup", text}).out);

    // A data folder with string.tbl and no string.txt uses it; a bad one is named by line.
    std::filesystem::copy_file(tbl, dir / "string.tbl");
    EXPECT_EQ(readCharTable(dir.path()), entries);
    test::writeText(dir / "bad.tbl", "8140=あ\n8141\n");
    const test::DemoExe exe;
    for (const std::string command : {"decode", "get"}) {
        r = command == "decode"
                ? test::cli({"--chars", (dir / "bad.tbl").string(), "decode", "8140"})
                : exe.run({"--chars", (dir / "bad.tbl").string(), "get", "unit", "5"});
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find("bad.tbl 第 2 行"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace vorlan
