#include <gtest/gtest.h>

#include "fixtures/demo_exe.h"

namespace vorlan {
namespace {

using test::cli;
using test::CliRun;

TEST(CliText, LookupAndDecodeRoundTripWithoutAnExecutable) {
    const CliRun codes = cli({"lookup", "银翼王A"});
    ASSERT_EQ(codes.status, 0) << codes.err;
    ASSERT_EQ(codes.out.size(), 4 * 4 + 1);
    const CliRun text = cli({"decode", codes.out.substr(0, 16)});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "银翼王A\n");
    EXPECT_EQ(cli({"decode", ""}).out, "\n");
}

TEST(CliText, RefusesMissingCharactersAndOverlongTexts) {
    const CliRun missing = cli({"lookup", "银€王"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.out.empty());  // codes found before the missing character are not shown
    EXPECT_NE(missing.err.find("没有查找到匹配的字符串"), std::string::npos);
    EXPECT_NE(missing.err.find("€"), std::string::npos);

    std::string longest;
    for (int i = 0; i < 255; ++i)
        longest += "王";
    EXPECT_EQ(cli({"lookup", longest}).status, 0);
    EXPECT_EQ(cli({"lookup", longest + "王"}).status, 1);
    EXPECT_EQ(cli({"decode", std::string(255, 'A')}).status, 0);
    EXPECT_EQ(cli({"decode", std::string(256, 'A')}).status, 1);

    test::TempDir empty;
    const CliRun noTable = cli({"--data", empty.path().string(), "decode", "8140"});
    EXPECT_EQ(noTable.status, 1);
    EXPECT_NE(noTable.err.find("string.txt"), std::string::npos);
}

}  // namespace
}  // namespace vorlan
