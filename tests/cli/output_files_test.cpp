// Files the tool writes at the player's request (exports, patches, character tables, a demo)
// never take the place of the executable, its side files, or anything but a regular file, and
// what it reads as "the backup" is a backup the write path would trust.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <functional>

#include "fixtures/demo_exe.h"
#include "fixtures/disc_images.h"

namespace vorlan::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// What a path holds: its bytes, or what kind of thing it is.
std::string shape(const fs::path& p) {
    const auto st = fs::symlink_status(p);
    if (fs::is_symlink(st))
        return "link";
    if (fs::is_fifo(st))
        return "fifo";
    if (!fs::exists(st))
        return "nothing";
    const Bytes b = readFile(p);
    return std::to_string(b.size()) + ":" +
           std::to_string(std::hash<std::string>{}({b.begin(), b.end()}));
}

TEST(CliOutputs, NoOutputTakesThePlaceOfTheExecutableItsSideFilesOrANonRegularFile) {
    struct Case {
        const char* name;
        std::function<std::string(const DemoExe&)> target;  // plants what is there, gives the name
        std::vector<std::string> args;                      // "OUT" stands for the target
        const char* said = "没有写入";                      // in the refusal
    };
    const auto exeName = [](const DemoExe& e) { return e.path().string(); };
    const auto bakName = [](const DemoExe& e) { return e.backup().string(); };
    const std::vector<std::string> exportIt{"export", "unit", "--out", "OUT", "--overwrite"};
    const Case cases[] = {
        {"export onto the executable", exeName, exportIt},
        {"export onto its backup", bakName, exportIt},
        {"export onto its journal's name",
         [](const DemoExe& e) { return e.path().string() + ".journal"; }, exportIt},
        {"export onto a dated backup's name",
         [](const DemoExe& e) { return e.path().string() + ".20260101-120000.bak"; }, exportIt},
#ifndef _WIN32  // test::kNoFifo, test::kNoLinks
        {"export onto a named pipe",
         [](const DemoExe& e) {
             const fs::path p = e.dir() / "pipe.csv";
             EXPECT_EQ(::mkfifo(p.c_str(), 0600), 0);
             return p.string();
         },
         exportIt},
        {"export onto a link",
         [](const DemoExe& e) {
             writeText(e.dir() / "mine.txt", "keep");
             fs::create_symlink(e.dir() / "mine.txt", e.dir() / "link.csv");
             return (e.dir() / "link.csv").string();
         },
         exportIt},
        {"export through a link to the folder onto the executable",
         [](const DemoExe& e) {
             fs::create_directory_symlink(e.dir(), e.dir() / "same");
             return (e.dir() / "same" / "SLKV_618.04").string();
         },
         exportIt},
#endif
        {"a character table onto the executable", exeName, {"chars", "export", "OUT", "--force"}},
        {"a patch onto a second name of the executable",
         [](const DemoExe& e) {
             fs::create_hard_link(e.path(), e.dir() / "game.bps");
             return (e.dir() / "game.bps").string();
         },
         {"mod", "create", "OUT", "--force"}},
        {"a demo onto the open executable", exeName, {"make-demo", "OUT", "--force"}},
        {"a demo onto a file that is not a demo",
         [](const DemoExe& e) {
             writeFile(e.dir() / "victim.iso", Bytes(1 << 20, 0));
             return (e.dir() / "victim.iso").string();
         },
         {"make-demo", "OUT", "--force"},
         "不是本程序做的演示文件"},
        {"a demo onto a side file's name of no open executable",
         [](const DemoExe& e) { return (e.dir() / "game.iso.SLKV_618.04.orig").string(); },
         {"make-demo", "OUT"},
         ".orig 结尾"},
        {"a demo onto an earlier one named as a file kept beside an image",
         [](const DemoExe& e) {
             writeText(e.dir() / "game.iso", "an image");
             return writeDemo(e.dir() / "game.iso.SLKV_618.04.x").string();
         },
         {"make-demo", "OUT", "--force"},
         "镜像旁边"},
        {"export onto a new name kept beside an image",
         [](const DemoExe& e) {
             writeText(e.dir() / "game.iso", "an image");
             return (e.dir() / "game.iso.SLKV_618.04.20260101.orig2").string();
         },
         exportIt, "镜像旁边"},
        {"export onto a journal under a name of the player's",
         [](const DemoExe& e) {
             writeText(e.dir() / "old-run", "VORLANJ3 and the rest of a journal");
             return (e.dir() / "old-run").string();
         },
         exportIt, "恢复日志"},
        {"export into a folder that does not exist",
         [](const DemoExe& e) { return (e.dir() / "nodir" / "u.csv").string(); }, exportIt,
         "nodir」不存在"},
        {"a patch into a file taken for a folder",
         [](const DemoExe& e) {
             writeText(e.dir() / "plain", "keep");
             return (e.dir() / "plain" / "x.bps").string();
         },
         {"mod", "create", "OUT"},
         "plain」不是文件夹"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DemoExe exe;
        ASSERT_EQ(exe.run({"set", "unit", "5", "hp=1234"}).status, 0);  // makes the backup
        const std::string target = c.target(exe);
        std::vector<std::string> args = c.args;
        for (std::string& a : args) {
            if (a == "OUT")
                a = target;
        }
        const std::string before = shape(target);
        const Bytes game = exe.bytes();
        const Bytes backup = readFile(exe.backup());
        const CliRun r = exe.run(args);
        EXPECT_EQ(r.status, 1) << r.out << r.err;
        EXPECT_NE(r.err.find("没有写入"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(".partial"), std::string::npos) << r.err;
        EXPECT_EQ(shape(target), before);
        EXPECT_EQ(exe.bytes(), game);
        EXPECT_EQ(readFile(exe.backup()), backup);
        EXPECT_FALSE(fs::exists(exe.path().string() + ".journal"));
    }
}

// --force replaces an earlier demo, never an executable that is not one (the player's game).
TEST(CliOutputs, MakeDemoReplacesOnlyAnEarlierDemo) {
    TempDir dir;
    const fs::path demo = writeDemo(dir / "demo");
    EXPECT_EQ(cli({"make-demo", demo.string(), "--force"}).status, 0);
    Bytes game = demoBytes();
    game[0x2000] ^= 0xFF;  // code the demo does not have
    writeFile(dir / "SLKV_618.04", game);
    const CliRun r = cli({"make-demo", (dir / "SLKV_618.04").string(), "--force"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("不是本程序做的演示文件"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(dir / "SLKV_618.04"), game);
}

// What a killed export --all left under its files' fresh names goes at the next run.
TEST(CliOutputs, ExportAllCleansUpWhatAKilledRunLeft) {
    const DemoExe exe;
    TempDir out;
    writeText(out / "unit.csv.0a1b2c3d0.partial", "half an export");
    writeText(out / "notes.partial", "somebody else's");
    ASSERT_EQ(exe.run({"export", "--all", "--out", out.path().string()}).status, 0);
    EXPECT_FALSE(fs::exists(out / "unit.csv.0a1b2c3d0.partial"));
    EXPECT_TRUE(fs::exists(out / "notes.partial"));
    EXPECT_TRUE(fs::exists(out / "unit.csv"));
}

// What a killed run left under the fresh names of the file a command makes goes at its next
// run: only files named so for that output, plain, with one link.
TEST(CliOutputs, EveryCommandClearsWhatAKilledRunOfItLeft) {
    const struct {
        std::vector<std::string> args;  // the last is the output's or the image's place
        const char* made;               // the file whose fresh names are planted
    } cases[] = {
        {{"make-demo", ""}, "demo.exe"},
        {{"export", "unit", "--out", ""}, "unit.csv"},
        {{"mod", "create", ""}, "mod.bps"},
        {{"chars", "export", ""}, "chars.tbl"},
        {{"iso", "replace", ""}, "game.iso.SLKV_618.04.20200101-000000.orig"},
        {{"iso", "restore", ""}, "game.iso.SLKV_618.04.replacing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.made);
        const DemoExe exe;
        ASSERT_EQ(exe.run({"set", "unit", "5", "hp=1234"}).status, 0);
        std::vector<std::string> args = c.args;
        const bool iso = args[0] == "iso";
        args.back() =
            (iso ? makeImage(exe.dir(), demoBytes(), false) : exe.dir() / c.made).string();
        if (args[1] == "restore") {
            ASSERT_EQ(exe.run({"iso", "replace", args.back()}).status, 0);
        }
        const std::string base = (exe.dir() / c.made).string();
        writeText(base + ".0a1b2c3d0.partial", "half made");
        writeText(base + ".notours.partial", "somebody's");
        writeText(exe.dir() / "mine", "keep");
        fs::create_hard_link(exe.dir() / "mine", base + ".0a1b2c3d1.partial");
        ASSERT_EQ(exe.run(args).status, 0);
        EXPECT_FALSE(fs::exists(base + ".0a1b2c3d0.partial"));
        EXPECT_TRUE(fs::exists(base + ".notours.partial"));
        EXPECT_TRUE(fs::exists(base + ".0a1b2c3d1.partial"));
    }
}

// The backup that patches and --changed-since compare against is read only when a write
// would trust it: a link or a second name at its place is refused by name.
TEST(CliOutputs, TheBackupIsReadOnlyWhenAWriteWouldTrustIt) {
    const std::vector<std::vector<std::string>> readers = {{"mod", "create", "OUT.bps"},
                                                           {"export", "unit", "--changed-since"}};
#ifdef _WIN32
    const bool links[] = {false};  // test::kNoLinks
#else
    const bool links[] = {true, false};
#endif
    for (const bool link : links) {
        for (const auto& reader : readers) {
            SCOPED_TRACE(reader[0] + (link ? " through a link" : " through a second name"));
            const DemoExe exe;
            writeFile(exe.dir() / "elsewhere", demoBytes());
            if (link)
                fs::create_symlink(exe.dir() / "elsewhere", exe.backup());
            else
                fs::create_hard_link(exe.dir() / "elsewhere", exe.backup());
            ASSERT_EQ(exe.run({"set", "unit", "5", "hp=1234", "--no-backup"}).status, 0);
            std::vector<std::string> args = reader;
            if (args.back() == "OUT.bps")
                args.back() = (exe.dir() / "mod.bps").string();
            const CliRun r = exe.run(args);
            EXPECT_EQ(r.status, 1) << r.out;
            EXPECT_NE(r.err.find(exe.backup().string()), std::string::npos) << r.err;
            EXPECT_FALSE(fs::exists(exe.dir() / "mod.bps"));
        }
    }
}

// Text from a file or a typo reaches the terminal with its control characters as codes.
TEST(CliOutputs, MessagesShowControlCharactersAsCodes) {
    const DemoExe exe;
    const CliRun r = exe.run({"set", "unit", "5", "\x1b]0;owned\x07\x1b[2J=1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("\\x1B]0;owned\\x07"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos);

    // What goes to standard output too: paths the player typed, in every command's report;
    // CSV's own line ends and the tabs of a listing pass as they are.
    const std::string odd =
        "a\x1b]0;owned\x07"
        "b";
    const std::vector<std::vector<std::string>> printing = {
        {"make-demo", (exe.dir() / (odd + ".exe")).string()},
        {"mod", "create", (exe.dir() / (odd + ".bps")).string()},
    };
    ASSERT_EQ(exe.run({"set", "unit", "5", "hp=1234"}).status, 0);
    for (const auto& args : printing) {
        SCOPED_TRACE(args[0]);
        const CliRun p = exe.run(args);
#ifdef _WIN32
        // Windows allows no control character in a file name: the refusal names it, escaped.
        EXPECT_EQ(p.status, 1);
        EXPECT_NE(p.err.find("a\\x1B]0;owned\\x07b"), std::string::npos) << p.err;
        EXPECT_EQ(p.err.find_first_of("\x1b\x07"), std::string::npos) << p.err;
        continue;
#endif
        ASSERT_EQ(p.status, 0) << p.err;
        EXPECT_NE(p.out.find("a\\x1B]0;owned\\x07b"), std::string::npos) << p.out;
        EXPECT_EQ(p.out.find_first_of("\x1b\x07"), std::string::npos) << p.out;
    }
    const CliRun csv = exe.run({"export", "unit"});
    ASSERT_EQ(csv.status, 0);
    EXPECT_NE(csv.out.find("\r\n"), std::string::npos);
    EXPECT_EQ(csv.out.find("\\x"), std::string::npos);
}

}  // namespace
}  // namespace vorlan::test
