// Sharing a mod through the command line: a patch made from the backup to an edited
// executable turns a fresh copy into it byte for byte, once; anything else is refused and
// writes nothing.

#include <gtest/gtest.h>

#include "bulk/ips.h"
#include "fixtures/demo_exe.h"
#include "tables/catalog.h"

namespace vorlan {
namespace {

using test::CliRun;
using test::DemoExe;
using Bytes = std::vector<std::uint8_t>;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A demo executable edited through the tool, so that its backup holds the original.
struct Edited {
    DemoExe exe;
    explicit Edited(const std::string& hp = "1234") {
        for (std::vector<std::string> set :
             {std::vector<std::string>{"set", "unit", "5", "hp=" + hp},
              {"set", "weapon", "5:2", "hit=-10"}}) {
            const CliRun r = exe.run(set);
            EXPECT_EQ(r.status, 0) << r.err;
        }
    }
    std::string patch(const std::string& ext) const {
        return (exe.dir() / ("mod." + ext)).string();
    }
};

TEST(CliMod, APatchFromTheBackupRecreatesTheEditsOnceInEitherFormat) {
    for (const std::string ext : {"bps", "ips"}) {
        const Edited edited;
        const CliRun made = edited.exe.run({"mod", "create", edited.patch(ext)});
        ASSERT_EQ(made.status, 0) << made.err;
        EXPECT_TRUE(has(made.out, "改动了 2 个条目的 2 个字段")) << made.out;

        const DemoExe fresh;
        const Bytes original = fresh.bytes();
        const CliRun dry = fresh.run({"mod", "apply", edited.patch(ext), "--dry-run"});
        ASSERT_EQ(dry.status, 0) << dry.err;
        EXPECT_TRUE(has(dry.out, "unit 5（")) << dry.out;
        EXPECT_TRUE(has(dry.out, "→ 1234")) << dry.out;
        EXPECT_TRUE(has(dry.out, "weapon 5:2（")) << dry.out;
        EXPECT_EQ(fresh.bytes(), original) << ext;
        EXPECT_FALSE(std::filesystem::exists(fresh.backup()));

        const CliRun applied = fresh.run({"mod", "apply", edited.patch(ext)});
        ASSERT_EQ(applied.status, 0) << applied.err;
        EXPECT_EQ(fresh.bytes(), edited.exe.bytes()) << ext;
        EXPECT_EQ(test::readFile(fresh.backup()), original);

        // Twice: BPS refuses by its checksums, IPS finds nothing left to change.
        const CliRun again = fresh.run({"mod", "apply", edited.patch(ext)});
        if (ext == "bps") {
            EXPECT_EQ(again.status, 1);
            EXPECT_TRUE(has(again.err, "已经应用过了")) << again.err;
        } else {
            EXPECT_EQ(again.status, 0) << again.err;
            EXPECT_TRUE(has(again.out, "不改动")) << again.out;
        }
        EXPECT_EQ(fresh.bytes(), edited.exe.bytes()) << ext;
    }
}

TEST(CliMod, RefusesPatchesForOtherFilesOutsideTheTablesOrChangingTheLength) {
    const Edited edited;
    ASSERT_EQ(edited.exe.run({"mod", "create", edited.patch("bps")}).status, 0);
    const Edited other("77");
    const Bytes otherBytes = other.exe.bytes();
    CliRun r = other.exe.run({"mod", "apply", edited.patch("bps")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "不是为这个文件做的")) << r.err;

    const Bytes original = test::demoBytes();
    const std::uint64_t outside = tableLayout().writable.front().first - 1;
    Bytes code = original;
    code[outside] ^= 0xFF;
    struct Case {
        const char* what;
        Bytes patch;
        const char* says;
    };
    const Case cases[] = {
        {"outside the tables", makeIps(original, code), "数据表以外"},
        {"past the end",
         Bytes{'P', 'A', 'T', 'C', 'H', 0x36, 0x0B, 0xFF, 0, 2, 1, 1, 'E', 'O', 'F'},
         "超出了文件末尾"},
        {"not a patch", Bytes{'n', 'o', 'p', 'e'}, "不是 BPS 或 IPS"},
    };
    for (const Case& c : cases) {
        const auto file = other.exe.dir() / "hostile.ips";
        test::writeFile(file, c.patch);
        r = other.exe.run({"mod", "apply", file.string()});
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_TRUE(has(r.err, c.says)) << c.what << ": " << r.err;
    }
    EXPECT_EQ(other.exe.bytes(), otherBytes);
}

TEST(CliMod, CreateRefusesWhatItCannotMakeAndNeverOverwritesUnasked) {
    const Edited edited;
    const DemoExe plain;
    const auto dir = edited.exe.dir();
    test::writeFile(dir / "short", Bytes(100, 0));
    test::writeText(dir / "taken.bps", "mine");
    struct Case {
        const DemoExe* exe;
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {&plain, {"mod", "create", (dir / "a.bps").string()}, "找不到原文件"},
        {&edited.exe,
         {"mod", "create", (dir / "a.bps").string(), "--from", (dir / "short").string()},
         "长度相同"},
        {&edited.exe, {"mod", "create", (dir / "a.zip").string()}, ".bps、.ips 或 .pnach"},
        {&edited.exe, {"mod", "create", (dir / "taken.bps").string()}, "--force"},
        {&plain,
         {"mod", "create", (dir / "a.ips").string(), "--from", plain.path().string()},
         "完全相同"},
    };
    for (const Case& c : cases) {
        const CliRun r = c.exe->run(c.args);
        EXPECT_EQ(r.status, 1) << c.says;
        EXPECT_TRUE(has(r.err, c.says)) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "a.bps"));
    EXPECT_EQ(test::readFile(dir / "taken.bps"), Bytes({'m', 'i', 'n', 'e'}));
    EXPECT_EQ(edited.exe.run({"mod", "create", (dir / "taken.bps").string(), "--force"}).status, 0);
    const Bytes made = test::readFile(dir / "taken.bps");
    EXPECT_EQ(std::string(made.begin(), made.begin() + 4), "BPS1");
}

}  // namespace
}  // namespace vorlan
