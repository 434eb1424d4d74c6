// `iso extract`: the executable copied out of real images byte for byte; an image any check
// refuses, or a region that is not the game's kind of executable, gives no file at all; and
// the copy takes the place of an existing file only with --force, and never of a link, a pipe,
// the image itself or the files kept beside it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "fixtures/demo_exe.h"
#include "fixtures/disc_images.h"
#include "image/disc_image.h"
#include "image/image_file.h"
#include "image/unfinished_write.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

test::CliRun extract(const fs::path& image, const fs::path& out, bool force = false) {
    std::vector<std::string> args{"iso", "extract", image.string(), out.string()};
    if (force)
        args.push_back("--force");
    return test::cli(args);
}

TEST(ImageExtract, GivesTheExecutableByteForByteFromEveryMaker) {
    test::TempDir dir;
    const std::pair<const char*, fs::path> images[] = {
        {"genisoimage", test::makeImage(dir.path(), test::demoBytes(), false)},
        {"genisoimage -udf", test::makeImage(dir.path(), test::demoBytes(), true)},
        {"xorriso", test::makeXorrisoImage(dir.path(), test::demoBytes())},
    };
    for (const auto& [maker, image] : images) {
        SCOPED_TRACE(maker);
        const Bytes before = test::readFile(image);
        const fs::path out = dir / (std::string(maker) + ".exe");
        const test::CliRun r = extract(image, out);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(out.string()), std::string::npos) << r.out;
        EXPECT_TRUE(test::readFile(out) == test::demoBytes());
        EXPECT_TRUE(test::readFile(image) == before);
        EXPECT_TRUE(test::savedFiles(image).empty());
    }
}

TEST(ImageExtract, ARefusedImageGivesNoFile) {
    test::TempDir dir;
    const fs::path good = test::makeImage(dir.path(), test::demoBytes(), false);
    const Bytes original = test::readFile(good);
    const auto changed = [&](const char* name, const std::function<void(Bytes&)>& change) {
        Bytes bytes = original;
        change(bytes);
        test::writeFile(dir / name, bytes);
        return dir / name;
    };
    const auto at = [](std::size_t offset, std::uint8_t value) {
        return [=](Bytes& b) { b[offset] = value; };
    };
    // A raw 2352-byte image: sync bytes at the start of every sector.
    Bytes raw(kImageExeOffset + kImageExeLength + 4096, 0);
    for (std::size_t s = 0; s * 2352 + 12 < raw.size(); ++s)
        std::fill_n(raw.begin() + static_cast<std::ptrdiff_t>(s * 2352 + 1), 10, 0xFF);
    test::writeFile(dir / "raw.bin", raw);
    // The executable at another sector, with its first bytes planted at sector 362.
    test::TempDir other;
    Bytes planted = test::readFile(test::makeImage(other.path(), test::demoBytes(), false, 380));
    std::copy_n(test::demoBytes().begin(), 64, planted.begin() + kImageExeOffset);
    test::writeFile(dir / "planted.iso", planted);
    // A replace interrupted: the region may hold part of the new bytes.
    const fs::path unfinished = changed("unfinished.iso", [](Bytes&) {});
    {
        ImageFile file(systemFileOps(), unfinished, true);
        markUnfinished(systemFileOps(), file, savedRegionPath(unfinished));
    }
    struct Case {
        fs::path image;
        const char* says;
    };
    const Case cases[] = {
        {dir / "missing.iso", "找不到"},
        {changed("short.iso", [](Bytes& b) { b.resize(kImageExeOffset + 4); }), "放不下"},
        {changed("notiso.iso", at(16 * 2048 + 1, 'X')), "CD001"},
        {dir / "raw.bin", "2352"},
        {changed("volume.iso", [](Bytes& b) { test::putBothEndian(b, 16 * 2048 + 80, 363); }),
         "363 个扇区"},
        {dir / "planted.iso", "第 380 扇区"},
        {changed("magic.iso", at(kImageExeOffset + 3, 'G')), kNotAnImage},
        {changed("class64.iso", at(kImageExeOffset + 4, 2)), "ELF"},
        {changed("bigendian.iso", at(kImageExeOffset + 5, 2)), "ELF"},
        {changed("x86.iso", at(kImageExeOffset + 18, 3)), "ELF"},
        {unfinished, "没有完成"},
    };
    const fs::path outDir = dir / "out";
    fs::create_directory(outDir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image.filename().string());
        const test::CliRun r = extract(c.image, outDir / "SLKV_618.04");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("没有提取游戏主程序"), std::string::npos) << r.err;
        EXPECT_TRUE(fs::is_empty(outDir));
    }
}

TEST(ImageExtract, ForceReplacesOnlyARegularFileOfNoOneElse) {
    test::TempDir dir;
    const fs::path image = test::makeImage(dir.path(), test::demoBytes(), false);
    const Bytes before = test::readFile(image);
    test::writeText(dir / "mine.bin", "keep");
    fs::create_symlink(dir / "mine.bin", dir / "link.bin");
    ASSERT_EQ(::mkfifo((dir / "pipe.bin").c_str(), 0600), 0);
    fs::create_hard_link(image, dir / "second.iso");
    struct Case {
        fs::path target;
        bool force;
    };
    // Refused: an existing file without --force; with it, a link, a named pipe, the image by
    // any of its names and the name of its saved region.
    const Case refused[] = {{dir / "mine.bin", false},  {dir / "link.bin", true},
                            {dir / "pipe.bin", true},   {image, true},
                            {dir / "second.iso", true}, {savedRegionPath(image), true}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.target.filename().string());
        const auto type = fs::symlink_status(c.target).type();
        const test::CliRun r = extract(image, c.target, c.force);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.force ? "没有写入" : "--force"), std::string::npos) << r.err;
        EXPECT_EQ(fs::symlink_status(c.target).type(), type);
    }
    EXPECT_EQ(test::readFile(dir / "mine.bin"), Bytes({'k', 'e', 'e', 'p'}));
    EXPECT_TRUE(test::readFile(image) == before);

    // The files kept beside the image are known beside every name of the image and by what
    // they are: through its second name, the first name's saved region is not replaced, nor is
    // a saved region under a name of the player's.
    Bytes edited = test::demoBytes();
    edited[0x200000] ^= 0x5A;
    ASSERT_TRUE(replaceExecutable(image, edited).ok);
    const Bytes saved = test::readFile(savedRegionPath(image));
    fs::copy_file(savedRegionPath(image), dir / "kept.bin");
    for (const auto& [from, to] : {std::pair{dir / "second.iso", savedRegionPath(image)},
                                   std::pair{image, dir / "kept.bin"}}) {
        SCOPED_TRACE(to.filename().string());
        const test::CliRun r = extract(from, to, true);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("没有写入"), std::string::npos) << r.err;
        EXPECT_TRUE(test::readFile(to) == saved);
    }
    ASSERT_TRUE(restoreRegion(image).ok);

    // What a killed extract left under the output's fresh names goes with the next one.
    test::writeText(dir / "mine.bin.0a1b2c3d0.partial", "half a copy");
    const test::CliRun r = extract(image, dir / "mine.bin", true);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::readFile(dir / "mine.bin") == test::demoBytes());
    EXPECT_FALSE(fs::exists(dir / "mine.bin.0a1b2c3d0.partial"));
}

}  // namespace
}  // namespace vorlan
