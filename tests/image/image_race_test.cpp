// The image swapped under a running replace or restore: another file renamed into its place
// (or the image moved away) at every system call after the image was opened. The newcomer
// is never written, the image moved away is never written after the swap (beyond the one
// write already under way), and no run that did not write the whole image reports success.

#include <gtest/gtest.h>

#include "fixtures/disc_images.h"
#include "fixtures/fixtures.h"
#include "fixtures/hook_ops.h"
#include "image/disc_image.h"
#include "image/unfinished_write.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

struct Newcomer {
    const char* name;
    Bytes bytes;  // empty: the image is only moved away
};

Bytes edited() {
    Bytes b = test::demoBytes();
    for (std::size_t i = 4096; i < b.size(); i += 4096)
        b[i] ^= 0x21;  // a change in every chunk, the ELF header kept
    return b;
}

// The offsets where `a` and `b` differ lie within one write of at most 256 KiB.
bool withinOneWrite(const Bytes& a, const Bytes& b) {
    const auto d = test::differences(a, b);
    return a.size() == b.size() && (d.empty() || d.back() - d.front() < 256 * 1024);
}

class SlowImageRace : public ::testing::Test {
protected:
    test::TempDir dir;
    fs::path image = test::makeImage(dir.path(), test::demoBytes(), false);
    Bytes original = test::readFile(image);
    fs::path moved = dir / "moved-away.iso";

    void reset(const Bytes& content) {
        fs::remove(image);
        fs::remove(moved);
        for (const fs::path& p : test::savedFiles(image))
            fs::remove(p);
        fs::remove(unfinishedMarkerPath(image));
        test::writeFile(image, content);
    }

    // Runs `op` once to count its calls and find the open of the image, then again with the
    // image swapped at every call after that open, checking each run.
    void sweep(const std::function<ImageWrite(FileOps&)>& op, const Bytes& start,
               const Bytes& wanted, const std::vector<Newcomer>& newcomers,
               const std::function<void()>& prepare) {
        reset(start);
        prepare();
        test::HookOps counting;
        int opened = 0;
        counting.before = [&](const std::string& call, const std::string& path, int n) {
            if (opened == 0 && call == "open" && fs::path(path) == image)
                opened = n;
        };
        ASSERT_TRUE(op(counting).ok);
        ASSERT_GT(opened, 0);
        const int calls = counting.calls();
        int failures = 0;
        for (const Newcomer& newcomer : newcomers) {
            for (int n = opened + 1; n <= calls; ++n) {
                SCOPED_TRACE(std::string(newcomer.name) + " at call " + std::to_string(n));
                reset(start);
                prepare();
                Bytes atSwap;
                std::string swappedAt;
                test::HookOps ops;
                ops.before = [&](const std::string& call, const std::string&, int k) {
                    if (k != n)
                        return;
                    swappedAt = call;
                    fs::rename(image, moved);
                    if (!newcomer.bytes.empty())
                        test::writeFile(image, newcomer.bytes);
                    atSwap = test::readFile(moved);
                };
                const ImageWrite w = op(ops);
                ASSERT_FALSE(swappedAt.empty());
                if (!newcomer.bytes.empty()) {
                    ASSERT_TRUE(test::readFile(image) == newcomer.bytes);
                }
                const Bytes after = test::readFile(moved);
                if (swappedAt == "pwrite") {
                    EXPECT_TRUE(withinOneWrite(atSwap, after));
                } else {
                    EXPECT_TRUE(after == atSwap);
                }
                if (w.ok) {
                    EXPECT_TRUE(test::regionOf(after) == wanted);
                } else {
                    ++failures;
#ifdef _WIN32
                    // The directory walk's child opens the image by the name the program's
                    // handle has now (GetFinalPathNameByHandleW); Wine still gives the name it
                    // was opened by, so the child may read the newcomer and refuse it for what
                    // it is. Either way nothing was written.
                    EXPECT_TRUE(w.message.find("移动或替换") != std::string::npos ||
                                w.message.find("镜像没有改动") != std::string::npos)
                        << w.message;
#else
                    EXPECT_NE(w.message.find("移动或替换"), std::string::npos) << w.message;
#endif
                }
            }
        }
        EXPECT_GT(failures, 0);
    }
};

TEST_F(SlowImageRace, ASwappedImageIsNeverWrittenByAReplace) {
    test::TempDir other;
    const Bytes elsewhere = test::readFile(test::makeImage(other.path(), edited(), false, 361));
    sweep([&](FileOps& ops) { return replaceExecutable(image, edited(), {}, &ops); }, original,
          edited(),
          {{"an image with the executable at sector 361", elsewhere},
           {"a small file", Bytes(160, 0x41)},
           {"nothing", {}}},
          [] {});
}

TEST_F(SlowImageRace, ASwappedImageIsNeverWrittenByARestore) {
    ASSERT_TRUE(replaceExecutable(image, edited()).ok);
    const Bytes replaced = test::readFile(image);
    const Bytes saved = test::readFile(savedRegionPath(image));
    sweep([&](FileOps& ops) { return restoreRegion(image, {}, &ops); }, replaced, test::demoBytes(),
          {{"a small file", Bytes(160, 0x41)}},
          [&] { test::writeFile(savedRegionPath(image), saved); });
}

}  // namespace
}  // namespace vorlan
