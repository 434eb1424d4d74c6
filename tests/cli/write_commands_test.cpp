#include <gtest/gtest.h>

#include "fixtures/demo_exe.h"
#include "fixtures/game_layout.h"

namespace vorlan {
namespace {

using test::cli;
using test::CliRun;
using test::DemoExe;
using test::differences;

constexpr std::size_t kUnits = test::kUnitOffset;
constexpr std::size_t kRecord = test::kUnitSize;

TEST(CliCopy, MakesTheTargetRecordEqualToTheSourceAndNothingElse) {
    const DemoExe exe;
    const auto before = exe.bytes();
    const CliRun r = exe.run({"copy", "unit", "3", "7"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "已经把机体003的数据粘贴到机体007上\n");
    const auto after = exe.bytes();
    const auto source = before.begin() + static_cast<std::ptrdiff_t>(kUnits + 3 * kRecord);
    const auto target = after.begin() + static_cast<std::ptrdiff_t>(kUnits + 7 * kRecord);
    EXPECT_TRUE(std::equal(source, source + kRecord, target));
    for (std::size_t at : differences(before, after))
        EXPECT_TRUE(at >= kUnits + 7 * kRecord && at < kUnits + 8 * kRecord) << at;
    EXPECT_FALSE(differences(before, after).empty());

    // A folder named with --data that lacks a list is refused by the list's name, as the
    // editor refuses it: nothing is copied.
    test::TempDir empty;
    const auto now = exe.bytes();
    const CliRun refused = exe.run({"--data", empty.path().string(), "copy", "unit", "3", "9"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("中没有 unit.txt"), std::string::npos) << refused.err;
    EXPECT_EQ(exe.bytes(), now);
}

TEST(CliCopy, RefusesOtherTablesAndBadIndexes) {
    const DemoExe exe;
    const auto before = exe.bytes();
    EXPECT_EQ(exe.run({"copy", "weapon", "3:0", "7:0"}).status, 1);
    EXPECT_EQ(exe.run({"copy", "unit", "3", "481"}).status, 1);
    EXPECT_EQ(exe.run({"copy", "unit", "x", "7"}).status, 1);
    EXPECT_EQ(exe.bytes(), before);
    EXPECT_FALSE(std::filesystem::exists(exe.backup()));
}

TEST(CliPatch, EachPatchChangesOnlyItsBytesInEveryRecord) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;  // record offset, value
    };
    for (const Case& c :
         {Case{"upgrade-limits", {{58, 0xAA}, {59, 0xAA}}}, Case{"chips", {{61, 0x04}}}}) {
        const DemoExe exe;
        const auto before = exe.bytes();
        const CliRun r = exe.run({"patch", c.name});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_FALSE(r.out.empty());
        auto expected = before;
        for (std::size_t unit = 0; unit < 481; ++unit) {
            for (const auto& [offset, value] : c.bytes)
                expected[kUnits + unit * kRecord + offset] = value;
        }
        EXPECT_TRUE(exe.bytes() == expected) << c.name;
    }
    const DemoExe exe;
    EXPECT_EQ(exe.run({"patch", "other"}).status, 2);
    EXPECT_EQ(exe.run({"patch"}).status, 2);
    EXPECT_EQ(cli({"patch", "chips"}).status, 1);  // no --exe
}

TEST(CliBackup, TheFirstWriteKeepsTheOriginalUnlessToldNot) {
    const DemoExe exe;
    const auto original = exe.bytes();
    CliRun r = exe.run({"set", "unit", "5", "hp=1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(".bak"), std::string::npos);
    EXPECT_EQ(test::readFile(exe.backup()), original);
    // An existing copy is never replaced: it keeps the state before the first write, and
    // every run names it at its first write.
    r = exe.run({"patch", "chips"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("之前已有"), std::string::npos) << r.err;
    EXPECT_EQ(test::readFile(exe.backup()), original);

    const DemoExe plain;
    ASSERT_EQ(plain.run({"--no-backup", "copy", "unit", "1", "2"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(plain.backup()));
}

TEST(CliBackup, AFailedBackupRefusesTheWrite) {
    const DemoExe exe;
    const auto before = exe.bytes();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set", "unit", "5", "hp=1"},
          std::vector<std::string>{"copy", "unit", "3", "7"},
          std::vector<std::string>{"patch", "upgrade-limits"}}) {
        // A dangling link where the copy would go: the copy cannot be made through it (a
        // folder under Wine, which makes no links).
        std::filesystem::remove(exe.backup());
#ifdef _WIN32
        std::filesystem::create_directory(exe.backup());
#else
        std::filesystem::create_symlink(exe.dir() / "missing" / "x.bak", exe.backup());
#endif
        const CliRun r = exe.run(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_NE(r.err.find("备份"), std::string::npos) << args[0];
    }
    EXPECT_EQ(exe.bytes(), before);
    EXPECT_EQ(exe.run({"--no-backup", "set", "unit", "5", "hp=1"}).status, 0);
}

}  // namespace
}  // namespace vorlan
