// The per-user key that authenticates saved regions: made once, private, in the user's own
// config folder; a key file that is not a private, whole one of this user's is refused by
// name and never replaced, since the regions saved under it would be lost with it.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <functional>

#include "fixtures/fixtures.h"
#include "fixtures/portable.h"
#include "image/image_file.h"
#include "image/region_key.h"
#include "io/file_ops.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// As the program sees it (on Windows, from the file's access list).
FileStatus statusOf(const fs::path& p) {
    FileStatus st;
    systemFileOps().lstat(p, st);
    return st;
}

unsigned modeOf(const fs::path& p) {
    return statusOf(p).permissions;
}

TEST(RegionKey, IsMadeOncePrivateAndTheSameAfterwards) {
    test::OtherUser user;
    const fs::path path = regionKeyPath();
    EXPECT_EQ(path, user.configHome() / "vorlan" / "region.key");
    const RegionKey made = loadRegionKey();
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(modeOf(path.parent_path()), 0700u);
    EXPECT_EQ(fs::file_size(path), kRegionKeySize);
    EXPECT_EQ(loadRegionKey().id(), made.id());
    test::OtherUser someoneElse;
    EXPECT_NE(loadRegionKey().id(), made.id());
}

TEST(RegionKey, AKeyFileThatIsNotPrivateAndWholeIsRefusedAndKept) {
    test::OtherUser user;
    const fs::path path = regionKeyPath();
    loadRegionKey();
    const Bytes key = test::readFile(path);
    const fs::path elsewhere = user.configHome() / "elsewhere.key";
    test::writeFile(elsewhere, key);
    fs::permissions(elsewhere, fs::perms::owner_read | fs::perms::owner_write);
    struct Case {
        const char* name;
        std::function<void()> plant;
        const char* says;
    };
    const Case cases[] = {
#ifdef _WIN32
        // Windows has no mode to show: the message names the file's security settings.
        {"readable by others", [&] { test::letEveryoneRead(path); }, "“属性 → 安全”"},
#else
        {"readable by others",
         [&] { fs::permissions(path, fs::perms::group_read, fs::perm_options::add); }, "0640"},
#endif
        {"too short", [&] { fs::resize_file(path, 31); }, "31 字节"},
#ifndef _WIN32  // test::kNoLinks, test::kNoOwners
        {"a symbolic link",
         [&] {
             fs::remove(path);
             fs::create_symlink(elsewhere, path);
         },
         "不是普通文件"},
        {"a folder",
         [&] {
             fs::remove(path);
             fs::create_directory(path);
         },
         "不是普通文件"},
        {"another user's", [&] { ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0); },
         "另一个用户"},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "another user's" && !test::runsAsRoot())
            continue;  // only root can give a file away
        fs::remove(path);
        test::writeFile(path, key);
        test::makePrivate(path);
        c.plant();
        const FileStatus before = statusOf(path);
        try {
            loadRegionKey();
            ADD_FAILURE() << "accepted";
        } catch (const ImageRefusal& e) {
            EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        const FileStatus after = statusOf(path);
        EXPECT_EQ(after.inode, before.inode);
        EXPECT_EQ(after.permissions, before.permissions);
        EXPECT_EQ(after.type, before.type);
        fs::remove(path);
    }
    EXPECT_TRUE(test::readFile(elsewhere) == key);
}

// Its folder's name taken by a file: the folder that could not be made is named, where it is,
// not a temporary file beside the key.
TEST(RegionKey, AFolderThatCannotBeMadeIsNamed) {
    test::OtherUser user;
    const fs::path folder = regionKeyPath().parent_path();
    test::writeText(folder, "a file where the folder goes");
    try {
        loadRegionKey();
        ADD_FAILURE() << "accepted";
    } catch (const ImageRefusal& e) {
        const std::string said = e.what();
        EXPECT_NE(said.find("无法建立存放密钥的文件夹"), std::string::npos) << said;
        EXPECT_NE(said.find(folder.string() + "（"), std::string::npos) << said;
        EXPECT_EQ(said.find(".partial"), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace vorlan
