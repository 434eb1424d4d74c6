// Where the programs look for their data folder: beside the program, then the installed one;
// the player's own lists before either, file by file; and the command line following the same
// search.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <sstream>

#include "command.h"
#include "fixtures/demo_exe.h"
#include "fixtures/fixtures.h"
#include "lists/data_folders.h"
#include "lists/name_lists.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

TEST(DataFolders, BesideTheProgramThenInstalled) {
    test::TempDir root;
    const fs::path bin = root / "usr/bin";
    const fs::path installed = root / "usr/share/vorlan/data";
    fs::create_directories(bin);
    // Neither folder: the one beside the program is named in messages.
    EXPECT_EQ(programDataFolder(bin), bin / "data");
    fs::create_directories(installed);
    EXPECT_EQ(programDataFolder(bin), installed);
    // A build tree keeps its data beside the programs, and that wins.
    fs::create_directories(bin / "data");
    EXPECT_EQ(programDataFolder(bin), bin / "data");
}

TEST(DataFolders, UserFolderFromTheEnvironment) {
    EXPECT_EQ(userDataFolder("/x/share", "/home/p"), fs::path("/x/share/vorlan/data"));
    // A relative or empty XDG_DATA_HOME does not count.
    EXPECT_EQ(userDataFolder("rel", "/home/p"), fs::path("/home/p/.local/share/vorlan/data"));
    EXPECT_EQ(userDataFolder("", "/home/p"), fs::path("/home/p/.local/share/vorlan/data"));
    EXPECT_EQ(userDataFolder(nullptr, nullptr), fs::path());
}

// A player's folder holding only a translated unit.txt uses it and takes the other lists from
// the program's folder; a folder named with --data must hold all four, or it is refused by
// the missing file's name.
TEST(DataFolders, OwnListsOverrideFileByFile) {
    test::TempDir root;
    const fs::path bin = root / "bin";
    const fs::path user = root / "user";
    fs::create_directories(bin);
    fs::create_directory_symlink(VORLAN_SOURCE_DATA_DIR, bin / "data");
    EXPECT_EQ(findDataFolders(bin, user).lists.folder, bin / "data");  // no such folder
    fs::create_directories(user);
    EXPECT_EQ(findDataFolders(bin, user).lists.folder, bin / "data");  // an empty one
    EXPECT_TRUE(findDataFolders(bin, {}).lists.fallback.empty());

    const NameLists program = loadNameLists(bin / "data");
    std::string translated;
    for (const std::string& name : program.units)
        translated += "T" + name + "\n";
    test::writeText(user / "unit.txt", translated);
    const DataFolders found = findDataFolders(bin, user);
    EXPECT_EQ(found.help, bin / "data");  // the help texts stay the program's
    const NameLists mixed = loadNameLists(found.lists);
    EXPECT_EQ(mixed.units[5], "T" + program.units[5]);
    EXPECT_EQ(mixed.pilots, program.pilots);
    EXPECT_EQ(mixed.skills, program.skills);
    EXPECT_EQ(mixed.chars, program.chars);

    // The command line takes the same lists: the character table comes from the program's.
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::runCli({"decode", "8140"}, bin, out, err, user), cli::kOk) << err.str();

    // --data overrides the search and must hold every list.
    const fs::path given = root / "given";
    fs::create_directories(given);
    for (const char* name : {"unit.txt", "pilot.txt", "string.txt"})
        fs::copy_file(bin / "data" / name, given / name);
    for (const auto& args : {std::vector<std::string>{"decode", "8140"}, {"tables"}}) {
        err.str("");
        std::vector<std::string> run{"--data", given.string()};
        run.insert(run.end(), args.begin(), args.end());
        EXPECT_EQ(cli::runCli(run, bin, out, err, user), cli::kRefused);
        EXPECT_NE(err.str().find("中没有 jn.txt"), std::string::npos) << err.str();
    }
    fs::copy_file(bin / "data" / "jn.txt", given / "jn.txt");
    EXPECT_EQ(cli::runCli({"--data", given.string(), "decode", "8140"}, bin, out, err, user),
              cli::kOk);
}

// A list of the player's own that cannot be read is refused by its file's name by every
// command that shows its labels, never passed over with bare numbers where names belong.
TEST(DataFolders, ABrokenOwnListIsRefusedByNameWhereverItIsUsed) {
    test::TempDir root;
    const fs::path bin = root / "bin";
    fs::create_directories(bin);
    fs::create_directory_symlink(VORLAN_SOURCE_DATA_DIR, bin / "data");
    const test::DemoExe exe;
    const std::pair<const char*, std::function<void(const fs::path&)>> broken[] = {
        {"a control character", [](const fs::path& p) { test::writeText(p, "机体\x1b[2J\n"); }},
        {"a short list", [](const fs::path& p) { test::writeText(p, "只有一行\n"); }},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }},
        {"a named pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"a 9 MB file", [](const fs::path& p) { test::writeText(p, std::string(9 << 20, 'x')); }},
    };
    for (const auto& [what, plant] : broken) {
        SCOPED_TRACE(what);
        const fs::path user = root / what;
        fs::create_directories(user);
        plant(user / "unit.txt");
        for (const auto& args :
             {std::vector<std::string>{"get", "unit", "5"}, {"export", "unit"}}) {
            std::ostringstream out;
            std::ostringstream err;
            std::vector<std::string> run{"--exe", exe.path().string()};
            run.insert(run.end(), args.begin(), args.end());
            EXPECT_EQ(cli::runCli(run, bin, out, err, user), cli::kRefused) << args[1];
            EXPECT_NE(err.str().find((user / "unit.txt").string()), std::string::npos)
                << args[1] << ": " << err.str();
        }
    }
}

}  // namespace
}  // namespace vorlan
