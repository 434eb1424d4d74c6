// The disc image check, replacement and restore, on real ISO 9660 images (with and without
// UDF) made by genisoimage; isoinfo extracts the file as the game's loader would find it.

#include <gtest/gtest.h>

#include <cstdlib>

#include "fixtures/demo_exe.h"
#include "fixtures/disc_images.h"
#include "fixtures/faulty_ops.h"
#include "fixtures/fixtures.h"
#include "fixtures/host_shell.h"
#include "image/disc_image.h"
#include "image/image_check.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes edited() {
    Bytes b = test::demoBytes();
    for (std::size_t i = 0x210020; i < 0x210020 + 1360; ++i)
        b[i] ^= 0x5A;
    return b;
}

Bytes prefix(const Bytes& b) {
    return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(kImageExeLength));
}

Bytes extract(const fs::path& image, const fs::path& out) {
    const std::string command = "isoinfo -i '" + test::shellPath(image) +
                                "' -x '/SLKV_618.04;1' > '" + test::shellPath(out) + "'";
    EXPECT_EQ(test::runShell(command), 0);
    return test::readFile(out);
}

TEST(DiscImage, ReplaceAndRestoreOnRealImages) {
    for (const bool udf : {false, true}) {
        SCOPED_TRACE(udf ? "with UDF" : "ISO 9660 only");
        test::TempDir dir;
        const fs::path image = test::makeImage(dir.path(), test::demoBytes(), udf);
        const Bytes before = test::readFile(image);
        ASSERT_TRUE(checkImage(image).ok) << checkImage(image).message;

        int calls = 0;
        const ImageWrite w = replaceExecutable(image, edited(), [&](auto, auto) { ++calls; });
        ASSERT_TRUE(w.ok) << w.message;
        EXPECT_GT(calls, 1);
        EXPECT_EQ(w.saved, savedRegionPath(image));
        EXPECT_EQ(extract(image, dir / "out.bin"), edited());
        const Bytes after = test::readFile(image);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (i < kImageExeOffset || i >= kImageExeOffset + kImageExeLength) {
                ASSERT_EQ(after[i], before[i]) << i;
            }
        }
        // The saved file begins with the region as it was.
        EXPECT_TRUE(prefix(test::readFile(w.saved)) == test::demoBytes());
        ASSERT_TRUE(checkImage(image).ok);

        // A second replace keeps the first saved region, the disc's own executable.
        Bytes again = edited();
        again[0x300000] ^= 1;
        ASSERT_TRUE(replaceExecutable(image, again).ok);
        EXPECT_TRUE(prefix(test::readFile(savedRegionPath(image))) == test::demoBytes());

        const ImageWrite r = restoreRegion(image);
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(test::readFile(image), before);
    }
}

TEST(DiscImage, RefusalsLeaveTheImageUntouched) {
    test::TempDir dir;
    const fs::path good = test::makeImage(dir.path(), test::demoBytes(), false);
    const Bytes original = test::readFile(good);
    const auto variant = [&](const char* name, const Bytes& bytes) {
        const fs::path p = dir / name;
        test::writeFile(p, bytes);
        return p;
    };
    struct Case {
        fs::path image;
        const char* says;
    };
    Bytes magic = original;
    magic[kImageExeOffset + 3] = 'G';
    Bytes shortImage(original.begin(), original.begin() + kImageExeOffset + 4);
    Bytes notIso = original;
    notIso[16 * 2048 + 1] = 'X';
    // A raw 2352-byte image: sync bytes at the start of every sector.
    Bytes raw(kImageExeOffset + kImageExeLength + 4096, 0);
    for (std::size_t s = 0; s * 2352 + 12 < raw.size(); ++s) {
        for (int k = 1; k <= 10; ++k)
            raw[s * 2352 + static_cast<std::size_t>(k)] = 0xFF;
    }
    std::copy_n(original.begin() + kImageExeOffset, 4, raw.begin() + kImageExeOffset);
    // The file at another sector, with ELF bytes planted at 741376: the 4-byte test alone passes.
    test::TempDir other;
    const fs::path moved = test::makeImage(other.path(), test::demoBytes(), false, 380);
    Bytes planted = test::readFile(moved);
    std::copy_n(test::demoBytes().begin(), 4, planted.begin() + kImageExeOffset);
    // The file of another length at the right sector.
    Bytes longer = test::demoBytes();
    longer.resize(kImageExeLength + 2048, 0);
    test::TempDir third;
    const fs::path grown = test::makeImage(third.path(), longer, false);
    const Case cases[] = {
        {variant("magic.iso", magic), kNotAnImage},
        {variant("short.iso", shortImage), "字节"},
        {variant("notiso.iso", notIso), "ISO 9660"},
        {variant("raw.bin", raw), "2352"},
        {variant("planted.iso", planted), "第 380 扇区"},
        {grown, "3544064 字节"},
        {dir / "missing.iso", "找不到"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image.filename().string());
        const bool existed = fs::exists(c.image);
        const Bytes before = existed ? test::readFile(c.image) : Bytes{};
        const ImageCheck check = checkImage(c.image);
        EXPECT_FALSE(check.ok);
        EXPECT_NE(check.message.find(c.says), std::string::npos) << check.message;
        const ImageWrite w = replaceExecutable(c.image, edited());
        EXPECT_FALSE(w.ok);
        EXPECT_FALSE(w.imageChanged);
        EXPECT_EQ(fs::exists(c.image), existed);
        if (existed) {
            EXPECT_EQ(test::readFile(c.image), before);
        }
        EXPECT_FALSE(fs::exists(savedRegionPath(c.image)));
    }
    // An executable of the wrong length is refused before the image is opened.
    Bytes small = edited();
    small.pop_back();
    const ImageWrite w = replaceExecutable(good, small);
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.message.find("3542016"), std::string::npos);
    EXPECT_EQ(test::readFile(good), original);
    // Nor is anything but a 32-bit little-endian MIPS ELF executable: the magic, the class,
    // the byte order and the machine each broken.
    for (const auto& [at, value] :
         {std::pair<std::size_t, std::uint8_t>{0, 0x7E}, {4, 2}, {5, 2}, {18, 3}}) {
        SCOPED_TRACE(at);
        Bytes odd = edited();
        odd[at] = value;
        const ImageWrite n = replaceExecutable(good, odd);
        EXPECT_FALSE(n.ok);
        EXPECT_NE(n.message.find("ELF"), std::string::npos) << n.message;
        EXPECT_TRUE(test::readFile(good) == original);
    }
}

TEST(DiscImage, AFailedWriteNamesTheSavedRegionAndRestoreRepairsIt) {
    test::TempDir dir;
    const fs::path image = test::makeImage(dir.path(), test::demoBytes(), false);
    const Bytes before = test::readFile(image);
    test::FaultyOps ops;
    // The saved region takes five writes (four chunks and its trailer), the replace mark one;
    // the eighth, the image's second chunk, fails.
    ops.arm(test::FaultyOps::Kind::WriteError, 8);
    Bytes exe = edited();
    exe[0x200] ^= 1;  // a change in the first chunk, which lands before the failure
    const ImageWrite w = replaceExecutable(image, exe, {}, &ops);
    ASSERT_FALSE(w.ok);
    EXPECT_TRUE(w.imageChanged);
    EXPECT_NE(w.message.find(savedRegionPath(image).string()), std::string::npos) << w.message;
    EXPECT_NE(w.message.find("iso restore"), std::string::npos);
    EXPECT_NE(test::readFile(image), before);
    const ImageWrite r = restoreRegion(image);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(test::readFile(image), before);
}

}  // namespace
}  // namespace vorlan

namespace vorlan {
namespace {

TEST(DiscImageCli, CheckReplaceRestoreAndRefusals) {
    test::TempDir dir;
    const fs::path image = test::makeImage(dir.path(), test::demoBytes(), false);
    const Bytes before = test::readFile(image);
    EXPECT_EQ(test::cli({"iso", "check", image.string()}).status, 0);
    // No executable given, or one of the wrong length: refused, the image untouched.
    test::CliRun r = test::cli({"iso", "replace", image.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--exe"), std::string::npos);
    Bytes longer = edited();
    longer.push_back(0);
    test::writeFile(dir / "long.exe", longer);
    r = test::cli({"--exe", (dir / "long.exe").string(), "iso", "replace", image.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("3542016"), std::string::npos);
    EXPECT_EQ(test::readFile(image), before);
    EXPECT_FALSE(fs::exists(savedRegionPath(image)));

    test::writeFile(dir / "SLKV_618.04", edited());
    r = test::cli({"--exe", (dir / "SLKV_618.04").string(), "iso", "replace", image.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("替换完成"), std::string::npos);
    EXPECT_EQ(extract(image, dir / "out.bin"), edited());
    ASSERT_EQ(test::cli({"iso", "restore", image.string()}).status, 0);
    EXPECT_EQ(test::readFile(image), before);
    EXPECT_EQ(test::cli({"iso", "check", (dir / "missing.iso").string()}).status, 1);
    EXPECT_FALSE(fs::exists(dir / "missing.iso"));
}

}  // namespace
}  // namespace vorlan
