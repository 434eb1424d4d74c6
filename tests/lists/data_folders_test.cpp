// Where the programs look for their data folder: beside the program, then the installed one;
// the player's own lists before either; and the command line following the same search.

#include <gtest/gtest.h>

#include <sstream>

#include "command.h"
#include "fixtures/fixtures.h"
#include "lists/data_folders.h"

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

TEST(DataFolders, OwnListsComeFirstOnceTheFolderHoldsOne) {
    test::TempDir root;
    const fs::path bin = root / "bin";
    const fs::path user = root / "user";
    fs::create_directories(bin / "data");
    EXPECT_EQ(findDataFolders(bin, user).lists, bin / "data");  // no such folder
    fs::create_directories(user);
    EXPECT_EQ(findDataFolders(bin, user).lists, bin / "data");  // an empty one
    EXPECT_EQ(findDataFolders(bin, {}).lists, bin / "data");

    test::writeText(user / "unit.txt", "x\n");
    const DataFolders found = findDataFolders(bin, user);
    EXPECT_EQ(found.lists, user);
    EXPECT_EQ(found.help, bin / "data");  // the help texts stay the program's

    // The command line takes the same folder: the character table missing there is refused
    // by its path in the user folder, not taken from the program's.
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::runCli({"decode", "8140"}, bin, out, err, user), cli::kRefused);
    EXPECT_NE(err.str().find((user / "string.txt").string()), std::string::npos) << err.str();
    // --data overrides the search.
    err.str("");
    fs::create_directories(root / "given");
    EXPECT_EQ(
        cli::runCli({"--data", (root / "given").string(), "decode", "8140"}, bin, out, err, user),
        cli::kRefused);
    EXPECT_NE(err.str().find((root / "given" / "string.txt").string()), std::string::npos);
}

}  // namespace
}  // namespace vorlan
