// What the operating-system layer promises the rest of the program, on Linux and on Windows
// alike: the same calls, the same answers, whichever system's bodies are underneath.

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "fixtures/fixtures.h"
#include "io/file_ops.h"
#include "io/new_file.h"
#include "io/output_file.h"
#include "io/path_text.h"
#include "io/posix_file.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const Bytes kOld{'o', 'l', 'd'};
const Bytes kNew{'n', 'e', 'w'};

// A journal or backup removed while another handle still has it open: its name is free at
// once (Windows would otherwise keep it until that handle closes, and refuse a new file of
// the name with error 80).
TEST(SystemCalls, ARemovedFilesNameIsFreeWhileItIsStillOpen) {
    test::TempDir dir;
    const fs::path path = dir / "game.journal";
    createNewFile(systemFileOps(), path, kOld);
    PosixFile stillOpen(systemFileOps(), path, PosixFile::Mode::Read);
    removeSideFile(systemFileOps(), path);
    EXPECT_FALSE(fs::exists(path));
    createNewFile(systemFileOps(), path, kNew);
    EXPECT_EQ(test::readFile(path), kNew);
    EXPECT_EQ(stillOpen.readAt(0, 3), kOld);  // the open one keeps its bytes
    // Where the system cannot drop the name at once, the old file waits under a name of its
    // own and goes with the last handle.
    stillOpen.close();
    std::size_t names = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++names;
    EXPECT_EQ(names, 1u) << "the removed file left a name behind";
}

// A file's identity survives a rename of the open file, and a second name shows in its
// link count and shares its identity.
TEST(SystemCalls, IdentityAndLinksAreTheFilesOwn) {
    test::TempDir dir;
    const fs::path fresh = dir / "a.partial";
    PosixFile file(systemFileOps(), fresh, PosixFile::Mode::CreateNew);
    file.writeAt(0, kNew);
    const FileIdentity made = file.identity();
    ASSERT_EQ(systemFileOps().rename(fresh, dir / "a"), 0);
    EXPECT_EQ(file.identity(), made);
    FileStatus named;
    ASSERT_EQ(systemFileOps().lstat(dir / "a", named), 0);
    EXPECT_TRUE(named.sameFile(made));
    EXPECT_EQ(named.links, 1u);
    ASSERT_EQ(systemFileOps().link(dir / "a", dir / "b"), 0);
    FileStatus second;
    ASSERT_EQ(systemFileOps().lstat(dir / "b", second), 0);
    EXPECT_TRUE(second.sameFile(made));
    EXPECT_EQ(second.links, 2u);
    createNewFile(systemFileOps(), dir / "c", kOld);
    EXPECT_EQ(systemFileOps().renameNoReplace(dir / "c", dir / "a"), -1);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(test::readFile(dir / "a"), kNew);
}

// A folder one export fills is held by one run at a time; the next gets it once the first
// lets go.
TEST(SystemCalls, AnExportFolderIsHeldByOneRunAtATime) {
    test::TempDir dir;
    std::optional<OutputFolder> first;
    first.emplace(systemFileOps(), dir.path(), std::vector<fs::path>{});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(OutputFolder(systemFileOps(), dir.path(), {}), IoError);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    first.reset();
    EXPECT_NO_THROW(OutputFolder(systemFileOps(), dir.path(), {}));
    std::size_t left = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++left;
    EXPECT_EQ(left, 0u) << "the lock left a file in the player's folder";
}

// A folder and a file with Chinese names, made from UTF-8 text, are found under the same
// names, and the names come back as the same text.
TEST(SystemCalls, ChineseNamesGoBothWaysUnchanged) {
    test::TempDir dir;
    const fs::path folder = dir.path() / textPath("张三");
    fs::create_directory(folder);
    writeOutputFile(systemFileOps(), folder / textPath("游戏 存档.bin"), kNew, false, {});
    const auto it = fs::directory_iterator(folder);
    ASSERT_NE(it, fs::directory_iterator());
    EXPECT_EQ(pathText(it->path().filename()), "游戏 存档.bin");
    EXPECT_EQ(pathText(textPath(pathText(folder))), pathText(folder));
    EXPECT_NE(pathText(folder).find("张三"), std::string::npos);
}

}  // namespace
}  // namespace vorlan
