// The saved regions (".orig" files): only a file this program wrote for this image, whole,
// is ever put back; the disc's own executable is kept once and the latest replaced region
// beside it, each saved exactly once, however fast the replaces follow each other.

#include <gtest/gtest.h>

#include <random>

#include "fixtures/demo_exe.h"
#include "fixtures/disc_images.h"
#include "fixtures/fixtures.h"
#include "fixtures/hook_ops.h"
#include "fixtures/host_shell.h"
#include "image/disc_image.h"
#include "image/region_trailer.h"
#include "image/restore_command.h"
#include "image/unfinished_write.h"
#include "io/crc32.h"
#include "io/path_text.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes variant(int k) {
    Bytes b = test::demoBytes();
    b[0x200000 + static_cast<std::size_t>(k)] ^= 0x5A;
    return b;
}

Bytes prefix(const Bytes& b) {
    return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(kImageExeLength));
}

struct SavedRegions : ::testing::Test {
    test::TempDir dir;
    fs::path image = test::makeImage(dir.path(), test::demoBytes(), false);
    Bytes original = test::readFile(image);
};

TEST_F(SavedRegions, AnOrigThatIsNotOursIsNeverWrittenIntoTheImage) {
    ASSERT_TRUE(replaceExecutable(image, variant(1)).ok);
    const fs::path first = savedRegionPath(image);
    const Bytes genuine = test::readFile(first);
    const Bytes replaced = test::readFile(image);
    test::TempDir elsewhere;
    const fs::path otherImage =
        test::makeImage(elsewhere.path(), test::demoBytes(), false, 362, "OTHERDISC");
    ASSERT_TRUE(replaceExecutable(otherImage, variant(2)).ok);
    const Bytes foreign = test::readFile(savedRegionPath(otherImage));

    std::mt19937 random(7);
    Bytes noise(genuine.size());
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    Bytes flipped = genuine;
    flipped[12345] ^= 1;
    const fs::path target = dir / "target.bin";
    test::writeFile(target, genuine);
    struct Case {
        const char* name;
        std::function<void()> plant;
        const char* says;
    };
    const Case cases[] = {
        {"random bytes", [&] { test::writeFile(first, noise); }, "不是本程序"},
        {"zeros", [&] { test::writeFile(first, Bytes(genuine.size(), 0)); }, "不是本程序"},
        {"the raw region of an older version", [&] { test::writeFile(first, test::demoBytes()); },
         "不是本程序"},
        {"a copy with one byte changed", [&] { test::writeFile(first, flipped); }, "校验"},
        {"the region of another image", [&] { test::writeFile(first, foreign); }, "另一个镜像"},
#ifndef _WIN32  // test::kNoLinks
        {"a symbolic link", [&] { fs::create_symlink(target, first); }, "符号链接"},
#endif
        {"a hard link", [&] { fs::create_hard_link(target, first); }, "硬链接"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(first);
        c.plant();
        const ImageWrite r = restoreRegion(image);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.imageChanged);
        EXPECT_NE(r.message.find(first.string()), std::string::npos) << r.message;
        EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
        const test::CliRun cli = test::cli({"iso", "restore", image.string()});
        EXPECT_EQ(cli.status, 1);
        EXPECT_TRUE(test::readFile(image) == replaced);
        // A replace does not go on without a saved region it can trust either.
        const ImageWrite w = replaceExecutable(image, variant(3));
        EXPECT_FALSE(w.ok);
        EXPECT_NE(w.message.find(first.string()), std::string::npos) << w.message;
        EXPECT_TRUE(test::readFile(image) == replaced);
        EXPECT_EQ(test::savedFiles(image), std::vector<fs::path>{first});
    }
    fs::remove(first);
    test::writeFile(first, genuine);
    const ImageWrite r = restoreRegion(image);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(test::readFile(image) == original);
}

// A region file that this program did not save for this user on this computer is never
// written into the image: one saved by another user (a friend's copy of the same disc), one
// of an earlier version, whose trailer held only public facts, and a forged one whose CRCs
// were made to match. Restore and replace refuse it, naming it and saying why.
TEST_F(SavedRegions, ARegionNotSavedHereForThisUserIsRefusedWithTheReason) {
    const Bytes foreign = test::foreignRegionFile(image, variant(2));
    ASSERT_TRUE(replaceExecutable(image, variant(1)).ok);
    const fs::path first = savedRegionPath(image);
    const Bytes replaced = test::readFile(image);
    // A changed region with its CRC-32 and the trailer's own (the last four bytes) made right.
    Bytes forged = test::readFile(first);
    const auto putCrc = [&](std::size_t at, std::span<const std::uint8_t> of) {
        const std::uint32_t crc = crc32Of(of);
        for (int i = 0; i < 4; ++i)
            forged[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (8 * i));
    };
    forged[0x200100] ^= 0x01;
    putCrc(kImageExeLength + 64, std::span(forged).first(kImageExeLength));
    putCrc(forged.size() - 4, std::span(forged).first(forged.size() - 4));
    struct Case {
        const char* name;
        Bytes file;
        const char* says;
    };
    const Case cases[] = {
        {"saved by another user", foreign, "别的电脑"},
        {"saved by an earlier version", test::unkeyedRegionFile(test::demoBytes(), original),
         "旧版本"},
        {"forged, its CRC-32s made right", forged, "改动"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(first);
        test::writeFile(first, c.file);
        const ImageWrite r = restoreRegion(image);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.imageChanged);
        EXPECT_NE(r.message.find(first.string()), std::string::npos) << r.message;
        EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
        EXPECT_EQ(test::cli({"iso", "restore", image.string()}).status, 1);
        EXPECT_FALSE(replaceExecutable(image, variant(3)).ok);
        EXPECT_TRUE(test::readFile(image) == replaced);
    }
}

// The way on for a player who moved the image and its regions to another computer: a whole
// foreign region, named with --from, is written with --trust-foreign after the ELF check,
// and is then this user's, so that the next replace and restore take it as any other.
TEST_F(SavedRegions, TrustForeignWritesAWholeForeignRegionAndAdoptsIt) {
    const Bytes foreign = test::foreignRegionFile(image, variant(2));
    ASSERT_TRUE(replaceExecutable(image, variant(1)).ok);
    const fs::path first = savedRegionPath(image);
    const Bytes replaced = test::readFile(image);
    fs::remove(first);
    test::writeFile(first, foreign);
    Bytes notElf = test::demoBytes();
    notElf[1] = 'X';
    const fs::path odd = dir / "game.iso.SLKV_618.04.20200101-000000.orig";
    test::writeFile(odd, test::unkeyedRegionFile(notElf, original));

    EXPECT_EQ(test::cli({"iso", "restore", image.string(), "--trust-foreign"}).status, 2);
    test::CliRun r =
        test::cli({"iso", "restore", image.string(), "--from", odd.string(), "--trust-foreign"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ELF"), std::string::npos) << r.err;
    EXPECT_TRUE(test::readFile(image) == replaced);
    fs::remove(odd);

    r = test::cli({"iso", "restore", image.string(), "--from", first.string(), "--trust-foreign"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::readFile(image) == original);
    EXPECT_TRUE(prefix(test::readFile(first)) == test::demoBytes());
    ASSERT_TRUE(replaceExecutable(image, variant(3)).ok);
    ASSERT_TRUE(restoreRegion(image).ok);
    EXPECT_TRUE(test::readFile(image) == original);
}

TEST_F(SavedRegions, EveryReplacedRegionIsSavedOnceAndOnlyTheFirstAndLatestAreKept) {
    Bytes before = test::demoBytes();
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        const ImageWrite w = replaceExecutable(image, variant(k));
        ASSERT_TRUE(w.ok) << w.message;
        EXPECT_TRUE(prefix(test::readFile(w.saved)) == before);
        const auto saved = test::savedFiles(image);
        EXPECT_EQ(saved.size(), k == 1 ? 1u : 2u);
        EXPECT_TRUE(prefix(test::readFile(savedRegionPath(image))) == test::demoBytes());
        before = variant(k);
    }
    // The same executable again replaces nothing and saves nothing new.
    const auto saved = test::savedFiles(image);
    ASSERT_TRUE(replaceExecutable(image, variant(5)).ok);
    EXPECT_EQ(test::savedFiles(image), saved);
    const ImageWrite r = restoreRegion(image);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(test::readFile(image) == original);
}

TEST_F(SavedRegions, RestoreTakesTheChosenSavedRegionAndCanBeUndone) {
    ASSERT_TRUE(replaceExecutable(image, variant(1)).ok);
    ASSERT_TRUE(replaceExecutable(image, variant(2)).ok);
    const auto saved = test::savedFiles(image);
    ASSERT_EQ(saved.size(), 2u);
    const fs::path latest = saved[0] == savedRegionPath(image) ? saved[1] : saved[0];

    test::CliRun r = test::cli({"iso", "restore", image.string(), "--from", "elsewhere.orig"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(latest.string()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(savedRegionPath(image).string()), std::string::npos) << r.err;
    EXPECT_TRUE(test::regionOf(test::readFile(image)) == variant(2));

    r = test::cli({"iso", "restore", image.string(), "--from", latest.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::regionOf(test::readFile(image)) == variant(1));
    // The region it overwrote was saved first, so the restore can itself be undone; the one
    // it put back stays beside it.
    const auto now = test::savedFiles(image);
    ASSERT_EQ(now.size(), 3u);
    EXPECT_TRUE(fs::exists(latest));
    fs::path undo;
    for (const fs::path& p : now) {
        if (p != savedRegionPath(image) && p != latest)
            undo = p;
    }
    EXPECT_TRUE(prefix(test::readFile(undo)) == variant(2));
    ASSERT_EQ(test::cli({"iso", "restore", image.string(), "--from", undo.string()}).status, 0);
    EXPECT_TRUE(test::regionOf(test::readFile(image)) == variant(2));
}

// Once the replace mark is made, only the image is written: its first write past the region's
// start fails, so the region is left part written whatever was saved before.
struct ImageFailsPastItsFirstChunk : test::HookOps {
    bool marked = false;
    ImageFailsPastItsFirstChunk() {
        before = [this](const std::string& call, const std::string& path, int) {
            marked = marked || (path.ends_with(".replacing") && call != "lstat" && call != "open");
        };
    }
    std::ptrdiff_t pwrite(int fd, const void* buf, std::size_t count,
                          std::uint64_t offset) override {
        if (marked && offset > kImageExeOffset) {
            errno = EIO;
            return -1;
        }
        return HookOps::pwrite(fd, buf, count, offset);
    }
};

// A replace or restore that fails part way removes no saved region: the dated one it was
// putting back, or the one a replace would have pruned, still holds its bytes, as the failure
// message says. Only once the image holds the new bytes do the older dated ones go.
TEST_F(SavedRegions, AFailedWriteRemovesNoSavedRegion) {
    ASSERT_TRUE(replaceExecutable(image, variant(1)).ok);
    ASSERT_TRUE(replaceExecutable(image, variant(2)).ok);
    const auto before = test::savedFiles(image);
    ASSERT_EQ(before.size(), 2u);
    const fs::path dated = before[0] == savedRegionPath(image) ? before[1] : before[0];
    for (const bool restore : {true, false}) {
        SCOPED_TRACE(restore ? "restore --from the dated region" : "replace");
        ImageFailsPastItsFirstChunk ops;
        const ImageWrite w = restore ? restoreRegion(image, {}, &ops, dated)
                                     : replaceExecutable(image, variant(3), {}, &ops);
        ASSERT_FALSE(w.ok);
        ASSERT_TRUE(w.imageChanged);
        ASSERT_TRUE(fs::exists(dated)) << w.message;
        EXPECT_TRUE(prefix(test::readFile(dated)) == variant(1));
        if (restore) {
            EXPECT_NE(w.message.find(dated.string()), std::string::npos) << w.message;
        }
        // The interrupted write is put right from what it saved; the dated file stays.
        ASSERT_TRUE(restoreRegion(image).ok);
        EXPECT_TRUE(test::regionOf(test::readFile(image)) == variant(2));
        EXPECT_TRUE(fs::exists(dated));
    }
    // A restore that lands keeps the region it put back beside the first and the latest.
    const ImageWrite r = restoreRegion(image, {}, nullptr, dated);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(test::regionOf(test::readFile(image)) == variant(1));
    EXPECT_TRUE(fs::exists(dated));
    EXPECT_TRUE(fs::exists(r.saved));
    EXPECT_EQ(test::savedFiles(image).size(), 3u);
    // The next replace that lands prunes to the first and its own latest.
    ASSERT_TRUE(replaceExecutable(image, variant(4)).ok);
    EXPECT_EQ(test::savedFiles(image).size(), 2u);
}

// The mark of a write under way will not go after a replace or a restore that landed: the
// write stands (success), the warning names the file holding what the region held just
// before and the mark to delete, and nothing names the region the write put in.
TEST_F(SavedRegions, AMarkThatWillNotGoLeavesTheWriteStandingAndNamesWhatWasThereBefore) {
    ASSERT_TRUE(replaceExecutable(image, variant(1)).ok);
    test::HookOps ops;
    ops.fail = [](const std::string& call, const std::string& path) {
        return call == "unlink" && path.ends_with(".replacing") ? EIO : 0;
    };
    struct Case {
        const char* name;
        std::function<ImageWrite()> run;
        Bytes after;
    };
    const Case cases[] = {
        {"replace", [&] { return replaceExecutable(image, variant(2), {}, &ops); }, variant(2)},
        {"restore", [&] { return restoreRegion(image, {}, &ops); }, test::demoBytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes region = test::regionOf(test::readFile(image));
        const ImageWrite w = c.run();
        ASSERT_TRUE(w.ok) << w.message;
        EXPECT_TRUE(test::regionOf(test::readFile(image)) == c.after);
        EXPECT_NE(w.warning.find(unfinishedMarkerPath(image).string()), std::string::npos)
            << w.warning;
        ASSERT_NE(w.warning.find(w.saved.string()), std::string::npos) << w.warning;
        EXPECT_TRUE(prefix(test::readFile(w.saved)) == region);
        fs::remove(unfinishedMarkerPath(image));
    }
}

// The words sh hands to `line`'s program (printf standing in for vorlan-cli), one a line.
std::string wordsSeenBySh(const test::TempDir& dir, const std::string& line) {
    const std::string command = "cd " + *shellWord(test::shellPath(dir.path()), Shell::Posix) +
                                " && printf '%s\\n'" + line.substr(line.find(' ')) + " >words";
    EXPECT_EQ(test::runShell(command), 0) << command;
    const auto bytes = test::readFile(dir / "words");
    return {bytes.begin(), bytes.end()};
}

// A suggested command names each file quoted for the shell it is pasted in, so that pasting
// runs vorlan-cli on that file and nothing else; a name no quoting makes safe is left out.
TEST(SuggestedCommands, EveryNameIsQuotedForTheShellItIsPastedIn) {
    const std::optional<std::string> no;
    const struct {
        std::string name;
        std::optional<std::string> posix, cmd;
    } cases[] = {
        {"/tmp/game.iso", "/tmp/game.iso", "/tmp/game.iso"},
        {"img$(touch PWNED).iso", "'img$(touch PWNED).iso'", no},
        {"it's `id`", "'it'\\''s `id`'", no},
        {"a&b|c<d>^e 张三", "'a&b|c<d>^e 张三'", "\"a&b|c<d>^e 张三\""},
        {"100%", "'100%'", no},
        {"wow!", "'wow!'", no},
        {"\u201C引号\u201D", "'\u201C引号\u201D'", no},
        {"C:\\游戏\\", "'C:\\游戏\\'", "\"C:\\游戏\\\\\""},
        {"new\nline", no, no},
        {"\x1b]0;x\x07", no, no},
        {"gpj\u202Eexe", no, no},
        {"tab\there", no, no},
    };
    test::TempDir dir;
    std::string line = "vorlan-cli";
    std::string words;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shellWord(c.name, Shell::Posix), c.posix);
        EXPECT_EQ(shellWord(c.name, Shell::Cmd), c.cmd);
        line += c.posix ? " " + *c.posix : "";
        words += c.posix ? c.name + "\n" : "";
    }
    EXPECT_EQ(wordsSeenBySh(dir, line), words);
    EXPECT_TRUE(restoreCommand("100%", Shell::Cmd).starts_with("vorlan-cli iso restore 镜像\n"));

    // The refusal of a region saved elsewhere, beside an image whose name would run a command.
    const auto image = dir / "img$(touch PWNED).iso";
    fs::rename(test::makeImage(dir.path(), test::demoBytes(), false), image);
    const auto saved = savedRegionPath(image);
    test::writeFile(saved, test::foreignRegionFile(image, variant(2)));
    const test::CliRun r = test::cli({"iso", "restore", pathText(image)});
    EXPECT_EQ(r.status, 1);
#ifdef _WIN32
    EXPECT_NE(r.err.find("请自己填上镜像和文件的名字"), std::string::npos) << r.err;
#else
    const std::size_t at = r.err.find("vorlan-cli iso restore");
    ASSERT_NE(at, std::string::npos) << r.err;
    EXPECT_EQ(wordsSeenBySh(dir, r.err.substr(at, r.err.find('\n', at) - at)),
              "iso\nrestore\n" + pathText(image) + "\n--from\n" + pathText(fs::canonical(saved)) +
                  "\n--trust-foreign\n");
#endif
    EXPECT_FALSE(fs::exists(dir / "PWNED"));
}

TEST(RegionTrailer, OnlyAWholeTrailerIsReadAndItsMacCoversEveryField) {
    const RegionKey key(std::array<std::uint8_t, kRegionKeySize>{1, 2, 3});
    const RegionKey other(std::array<std::uint8_t, kRegionKeySize>{3, 2, 1});
    const Bytes region(64, 0x5A);
    RegionTrailer t;
    t.sector = 362;
    t.length = 64;
    t.imageSize = 4505600;
    t.volumeId = std::string("VORLAN") + std::string(26, ' ');
    const auto bytes = encodeTrailer(t, region, key);
    const auto parsed = parseTrailer(bytes);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(encodeTrailer(*parsed, region, key), bytes);
    EXPECT_EQ(parsed->keyId, key.id());
    EXPECT_TRUE(trailerMacVerifies(bytes, region, key));
    EXPECT_FALSE(trailerMacVerifies(bytes, region, other));
    // Each byte matters to the trailer's CRC; each field before the MAC to the MAC as well.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto changed = bytes;
        changed[i] ^= 0x01;
        EXPECT_FALSE(parseTrailer(changed).has_value()) << i;
        if (i < 76) {
            EXPECT_FALSE(trailerMacVerifies(changed, region, key)) << i;
        }
    }
    Bytes changedRegion = region;
    changedRegion[63] ^= 0x80;
    EXPECT_FALSE(trailerMacVerifies(bytes, changedRegion, key));
    EXPECT_FALSE(parseTrailer(std::span(bytes).first(kTrailerSize - 1)).has_value());
}

}  // namespace
}  // namespace vorlan
