#include <gtest/gtest.h>

#include "fixtures/demo_exe.h"

namespace vorlan {
namespace {

using test::cli;
using test::CliRun;

TEST(CliInfo, TablesListsAllTwelve) {
    const CliRun r = cli({"tables"});
    EXPECT_EQ(r.status, 0);
    for (const char* name :
         {"unit ", "weapon ", "pilot ", "upgrade-cost ", "upgrade-increment ", "skill-training ",
          "guts ", "barrier ", "skill-correction ", "part ", "weapon-upgrade ", "spirit "}) {
        EXPECT_NE(r.out.find(name), std::string::npos) << name;
    }
    EXPECT_NE(r.out.find("0x210020"), std::string::npos);
    EXPECT_NE(r.out.find("0x2DE8F4"), std::string::npos);
}

TEST(CliInfo, MakeDemoWritesTheDemoAndNeverOverwritesByAccident) {
    test::TempDir dir;
    const std::string path = (dir / "SLKV_618.04").string();
    CliRun r = cli({"make-demo", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::readFile(path), test::demoBytes());
    test::writeFile(path, {1, 2, 3});
    r = cli({"make-demo", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(test::readFile(path), (std::vector<std::uint8_t>{1, 2, 3}));
    // --force replaces an earlier demo only, never a file that is not one.
    EXPECT_EQ(cli({"make-demo", path, "--force"}).status, 1);
    EXPECT_EQ(test::readFile(path), (std::vector<std::uint8_t>{1, 2, 3}));
    std::filesystem::remove(path);
    ASSERT_EQ(cli({"make-demo", path}).status, 0);
    EXPECT_EQ(cli({"make-demo", path, "--force"}).status, 0);
}

TEST(CliInfo, UsageErrorsExitWithTwo) {
    EXPECT_EQ(cli({}).status, 2);
    EXPECT_EQ(cli({"no-such-command"}).status, 2);
    EXPECT_EQ(cli({"make-demo"}).status, 2);
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("make-demo"), std::string::npos);
    // A path is never an option, on Windows either: a missing file is refused by name.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"iso", "check", "/no/such/game.iso"},
          {"--exe", "/no/such/SLKV_618.04", "import", "weapon", "/no/such/w.csv"}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("such"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace vorlan
