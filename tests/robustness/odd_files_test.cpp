// Every file the programs read, replaced by something odd: a folder, a pipe, a link to a
// device, a huge file, an empty file, a link to a good file. Nothing may crash, hang or
// allocate without bound; every refusal names the file. (A file without read permission
// cannot be shown when the tests run as root, who reads everything.)

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <functional>

#include "document/document.h"
#include "fixtures/demo_exe.h"
#include "fixtures/fixtures.h"
#include "image/disc_image.h"
#include "image/image_check.h"
#include "io/path_text.h"
#include "io/text_file.h"
#include "lists/name_lists.h"

namespace vorlan {
namespace {

namespace fs = std::filesystem;

enum class Odd { Folder, Fifo, DeviceLink, Huge, Empty, GoodLink };

const char* nameOf(Odd o) {
    switch (o) {
        case Odd::Folder:
            return "folder";
        case Odd::Fifo:
            return "fifo";
        case Odd::DeviceLink:
            return "link to /dev/zero";
        case Odd::Huge:
            return "huge";
        case Odd::Empty:
            return "empty";
        case Odd::GoodLink:
            return "link to a good file";
    }
    return "";
}

#ifdef _WIN32
// test::kNoFifo, test::kNoLinks: a pipe or a link cannot be planted there.
const Odd kOdds[] = {Odd::Folder, Odd::Huge, Odd::Empty};
#else
const Odd kOdds[] = {Odd::Folder, Odd::Fifo, Odd::DeviceLink, Odd::Huge, Odd::Empty, Odd::GoodLink};
#endif

// Puts the odd thing at `path`; `good` is a proper file of its kind to link to.
void plant(Odd o, const fs::path& path, const fs::path& good) {
    fs::remove_all(path);
    switch (o) {
        case Odd::Folder:
            fs::create_directory(path);
            break;
#ifndef _WIN32
        case Odd::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
            break;
        case Odd::DeviceLink:
            fs::create_symlink("/dev/zero", path);
            break;
#endif
        case Odd::Huge: {
            test::writeFile(path, {});
            fs::resize_file(path, std::uint64_t{5} << 30);  // sparse: no disk used
            break;
        }
        case Odd::Empty:
            test::writeFile(path, {});
            break;
#ifndef _WIN32
        case Odd::GoodLink:
            fs::create_symlink(good, path);
            break;
#endif
        default:
            FAIL() << "cannot be made here";
    }
}

TEST(OddFiles, EveryFileTheProgramsReadIsBounded) {
    test::TempDir dir;
    const fs::path data = dir / "data";
    fs::create_directories(data);
    for (const auto& e : fs::directory_iterator(test::sourceDataDir()))
        fs::copy_file(e.path(), data / e.path().filename());
    const fs::path goodExe = test::writeDemo(dir / "good.exe");
    const fs::path goodList = dir / "good_string.txt";
    fs::copy_file(data / "string.txt", goodList);

    struct Reader {
        const char* what;
        fs::path path;
        fs::path good;
        // Reads the file as the programs do: true when it was accepted, otherwise the
        // refusal in `message`.
        std::function<bool(std::string& message)> read;
    };
    const fs::path exe = dir / "SLKV_618.04";
    const fs::path image = dir / "game.iso";
    const std::vector<Reader> readers = {
        {"character table", data / "string.txt", goodList,
         [&](std::string& m) {
             const test::CliRun r = test::cli({"--data", data.string(), "decode", "82A0"});
             m = r.err;
             return r.status == 0;
         }},
        {"name lists", data / "string.txt", goodList,
         [&](std::string& m) {
             try {
                 loadNameLists(data);
                 return true;
             } catch (const DataFileError& e) {
                 m = e.what();
                 return false;
             }
         }},
        {"help text", data / textPath("使用说明.txt"), goodList,
         [&](std::string& m) {
             try {
                 readTextFile(data / textPath("使用说明.txt"));
                 return true;
             } catch (const DataFileError& e) {
                 m = e.what();
                 return false;
             }
         }},
        {"executable", exe, goodExe,
         [&](std::string& m) {
             const test::CliRun r = test::cli({"--exe", exe.string(), "get", "unit", "1"});
             m = r.err;
             return r.status == 0;
         }},
        {"disc image", image, goodExe,
         [&](std::string& m) {
             const ImageCheck c = checkImage(image);
             m = c.message;
             return c.ok;
         }},
    };
    for (const Reader& r : readers) {
        for (Odd o : kOdds) {
            SCOPED_TRACE(std::string(r.what) + ": " + nameOf(o));
            const fs::path keep = dir / "keep";
            const bool had = fs::exists(r.path);
            if (had)
                fs::rename(r.path, keep);
            plant(o, r.path, r.good);
            std::string message;
            const bool accepted = r.read(message);
            if (o == Odd::GoodLink) {
                // A link to a proper file is that file (an ELF file is no disc image).
                EXPECT_EQ(accepted, std::string(r.what) != "disc image") << message;
            } else if (o == Odd::Empty && std::string(r.what) == "help text") {
                EXPECT_TRUE(accepted);  // an empty help text is shown empty
            } else {
                EXPECT_FALSE(accepted);
                EXPECT_NE(message.find(r.path.filename().string()), std::string::npos) << message;
            }
            fs::remove_all(r.path);
            if (had)
                fs::rename(keep, r.path);
        }
    }
}

TEST(OddFiles, ListEncodingsAreDecidedWithAReason) {
    // GBK with many one-byte characters (0x80 is the euro sign in GBK).
    std::string gbk;
    for (int i = 0; i < 5000; ++i)
        gbk += "\x80\xB0\xA1\n";
    EXPECT_EQ(decodeText(gbk, "gbk.txt").substr(0, 7), "\xE2\x82\xAC\xE5\x95\x8A\n");
    // UTF-8 with one stray Latin-1 byte: refused with its place, never read as GBK.
    std::string utf8;
    for (int i = 0; i < 50; ++i)
        utf8 += "机体\n";
    utf8 += "caf\xE9\n";
    try {
        decodeText(utf8, "broken.txt");
        FAIL() << "accepted a broken UTF-8 file";
    } catch (const DataFileError& e) {
        EXPECT_NE(std::string(e.what()).find("第 51 行第 4 个字节"), std::string::npos) << e.what();
    }
    // Neither UTF-8 nor GBK.
    EXPECT_THROW(decodeText(std::string("\xFF\xFF\xFF"), "junk.txt"), DataFileError);
}

}  // namespace
}  // namespace vorlan
