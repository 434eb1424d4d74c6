// Odd command-line input: every refusal is exit 1 with a message and leaves the file as it
// was; what is written is echoed as stored.

#include <gtest/gtest.h>

#include "fixtures/demo_exe.h"

namespace vorlan {
namespace {

using test::cli;
using test::CliRun;
using test::DemoExe;

TEST(CliInputs, IndexesAreDigitsInRange) {
    const DemoExe exe;
    for (const char* index : {"-0", "+3", "03x", "", " 3", "481", "1e2"}) {
        const CliRun r = exe.run({"get", "unit", index});
        EXPECT_EQ(r.status, 1) << index;
        EXPECT_FALSE(r.err.empty()) << index;
    }
    EXPECT_EQ(exe.run({"get", "unit", "003"}).status, 0);
}

TEST(CliInputs, SetEchoesWhatIsStoredAndWarnsOfDroppedDigits) {
    const DemoExe exe;
    CliRun r = exe.run({"--no-backup", "set", "unit", "5", "hp=1.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("= 2（输入 1.5，已取整）"), std::string::npos) << r.out;
    r = exe.run({"--no-backup", "set", "unit", "5", "Text33=" + std::string(100, '4')});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("第 69 位起的 32 位没有写入"), std::string::npos) << r.err;
}

TEST(CliInputs, ExecutablesThatAreNotTheGamesOrAreReadOnly) {
    const DemoExe exe;
    // Another machine's ELF file is refused; a file of another length needs --force.
    auto bytes = exe.bytes();
    bytes[18] = 0x3E;
    test::writeFile(exe.dir() / "x86", bytes);
    CliRun r = cli({"--exe", (exe.dir() / "x86").string(), "get", "unit", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("MIPS"), std::string::npos);
    bytes = exe.bytes();
    bytes.resize(bytes.size() + 16, 0);
    test::writeFile(exe.dir() / "longer", bytes);
    r = cli({"--exe", (exe.dir() / "longer").string(), "get", "unit", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--force"), std::string::npos);
    EXPECT_EQ(cli({"--force", "--exe", (exe.dir() / "longer").string(), "get", "unit", "1"}).status,
              0);
    // A file without write permission can be read (as root the permission does not bite,
    // but the read-only path is the one taken for reads either way).
    std::filesystem::permissions(exe.path(), std::filesystem::perms::owner_read);
    EXPECT_EQ(exe.run({"get", "unit", "1"}).status, 0);
}

TEST(CliInputs, MakeDemoNeverLeavesAPartialFile) {
    test::TempDir dir;
    const std::string tooLong = (dir / std::string(300, 'a')).string();
    CliRun r = cli({"make-demo", tooLong});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    r = cli({"make-demo", (dir / "missing" / "x").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    ASSERT_EQ(cli({"make-demo", (dir / "demo").string()}).status, 0);
    EXPECT_EQ(cli({"make-demo", (dir / "demo").string()}).status, 1);  // no overwrite
    EXPECT_EQ(cli({"make-demo", (dir / "demo").string(), "--force"}).status, 0);
    EXPECT_EQ(std::filesystem::file_size(dir / "demo"), 3542016u);
    EXPECT_FALSE(std::filesystem::exists(dir / "demo.new"));
}

}  // namespace
}  // namespace vorlan
