// Side files a crash or a hostile folder leaves beside the executable. A journal is played
// back only into its own file, after that file passed its checks, where the tables lie and
// over bytes that still hold its old or new values; anything else is refused and left where
// it is. Files the program makes are made new, never followed through a planted link.

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <functional>

#include "document/entry_editor.h"
#include "document/pending_writes.h"
#include "fixtures/demo_exe.h"
#include "fixtures/disc_images.h"
#include "fixtures/hook_ops.h"
#include "fixtures/journals.h"
#include "fixtures/portable.h"
#include "tables/catalog.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = WriteResult::Status;
using test::DemoExe;
namespace fs = std::filesystem;

Bytes journalBytes(const Journal& j) {
    return encodeJournal(j);
}

// `body` followed by its CRC-32, as a journal ends.
Bytes withCrc(Bytes body) {
    const auto crc = static_cast<std::uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), body.data(), static_cast<uInt>(body.size())));
    for (int i = 0; i < 4; ++i)
        body.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    return body;
}

// A write of unit 5's HP that was interrupted after its new bytes reached the file.
struct Interrupted {
    DemoExe exe;
    const std::uint64_t hp = unitTable().entryOffset(5) + 36;
    Bytes changed = exe.original();
    Journal journal;

    Interrupted() {
        for (std::uint64_t i = hp; i < hp + 4; ++i)
            changed[i] ^= 0x5A;
        test::writeFile(exe.path(), changed);
        journal = test::interruptedJournal(exe.path(), {run(hp, 4)});
    }
    ByteRun run(std::uint64_t at, std::size_t n) const {
        const auto b = [&](const Bytes& v) { return Bytes(v.begin() + at, v.begin() + at + n); };
        return {at, b(exe.original()), b(changed)};
    }
    void plant(const Journal& j) const { test::writeFile(exe.journalFile(), journalBytes(j)); }
    void plant(const Bytes& bytes) const { test::writeFile(exe.journalFile(), bytes); }
};

// The journal's place as it was planted: its bytes, or what kind of thing it is.
std::string whatIsThere(const fs::path& p) {
    const auto st = fs::symlink_status(p);
    if (fs::is_symlink(st))
        return "link";
    if (fs::is_directory(st))
        return "folder";
    if (!fs::exists(st))
        return "nothing";
    const Bytes b = test::readFile(p);
    return std::string(b.begin(), b.end()) + "#" + std::to_string(fs::hard_link_count(p));
}

// Unit 5's HP written through a document of `doc`.
WriteResult writeHp(Document& doc, const char* hp) {
    EntryEditor editor(doc, nullptr);
    const EntryView view = editor.show(unitTable(), 5);
    auto edited = view.values;
    edited[static_cast<std::size_t>(unitTable().fieldIndex("hp"))] = FieldValue::ofText(hp);
    return editor.save({{&unitTable(), 5, view.values, edited}});
}

TEST(SideFiles, AJournalIsPlayedBackOnlyIntoItsOwnFileOverItsOwnBytes) {
    // Kept: somebody else's file at the journal's name; the file opens and reads beside it
    // (said once), is never written, and the file there is never deleted or changed.
    enum class Outcome { Played, Kept, Refused };
    using W = const Interrupted&;
    struct Case {
        const char* name;
        std::function<void(W)> plant;
        Outcome outcome;
        const char* says;
    };
    const Case cases[] = {
        {"its own journal", [](W w) { w.plant(w.journal); }, Outcome::Played, "恢复为那次写入之前"},
        {"a write torn inside the run",
         [](W w) {
             Bytes torn = w.changed;
             torn[w.hp + 1] = w.exe.original()[w.hp + 1];
             torn[w.hp + 3] = w.exe.original()[w.hp + 3];
             test::writeFile(w.exe.path(), torn);
             w.plant(w.journal);
         },
         Outcome::Played, "恢复为那次写入之前"},
        {"cut short",
         [](W w) {
             Bytes cut = journalBytes(w.journal);
             cut.pop_back();
             w.plant(cut);
         },
         Outcome::Kept, "不是本程序写的恢复日志"},
        {"a text file of somebody's",
         [](W w) { test::writeText(w.exe.journalFile(), "my notes, keep them"); }, Outcome::Kept,
         "不是本程序写的恢复日志"},
        {"an earlier version's journal",
         [](W w) {
             Bytes old = journalBytes(w.journal);
             old[7] = '2';
             w.plant(old);
         },
         Outcome::Refused, "旧版本"},
        {"another finished file copied over it",
         [](W w) {
             Bytes other = w.changed;
             other[0x1000] ^= 0xFF;  // outside every table
             test::writeFile(w.exe.path(), other);
             w.plant(w.journal);
         },
         Outcome::Refused, "整个换成了"},
        // 32 bytes whose body ends right after an offset: once read past its end.
        {"the old format, ending after an offset",
         [](W w) {
             const Bytes crash{'V',  'O',  'R',  'L',  'A',  'N', 'J',  '1',  0xFF, 0xFF, 0xFF,
                               0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1,   0,    0,    0,    0,    0,
                               0,    0,    0,    0,    0,    0,   0x0B, 0xB2, 0x61, 0x7F};
             w.plant(crash);
         },
         Outcome::Refused, "旧版本"},
        {"whole but ending after an offset",
         [](W w) {
             Journal none = w.journal;
             none.runs.clear();
             Bytes b = journalBytes(none);
             b.resize(b.size() - 4);
             b[36] = 1;  // one run, of which only the offset follows
             b.insert(b.end(), 8, 0);
             w.plant(withCrc(b));
         },
         Outcome::Refused, "内容不合理"},
        {"another file's",
         [](W w) {
             Journal j = w.journal;
             j.inode += 1;
             w.plant(j);
         },
         Outcome::Refused, "另一个文件"},
        {"JUNK over the ELF magic",
         [](W w) {
             Journal j = w.journal;
             j.runs.insert(j.runs.begin(), ByteRun{0, {'J', 'U', 'N', 'K'}, {0x7F, 'E', 'L', 'F'}});
             w.plant(j);
         },
         Outcome::Refused, "不是本程序编辑的数据表"},
        {"overlapping runs",
         [](W w) {
             Journal j = w.journal;
             j.runs.push_back(w.run(w.hp + 2, 2));
             w.plant(j);
         },
         Outcome::Refused, "重叠"},
        {"bytes changed since",
         [](W w) {
             Bytes later = w.changed;
             later[w.hp + 2] = static_cast<std::uint8_t>(later[w.hp + 2] + 1);
             test::writeFile(w.exe.path(), later);
             w.plant(w.journal);
         },
         Outcome::Refused, "又被改动过"},
        {"a folder", [](W w) { fs::create_directory(w.exe.journalFile()); }, Outcome::Kept,
         "不是普通文件"},
#ifndef _WIN32  // test::kNoLinks
        {"a link to a journal",
         [](W w) {
             test::writeFile(w.exe.dir() / "elsewhere", journalBytes(w.journal));
             fs::create_symlink(w.exe.dir() / "elsewhere", w.exe.journalFile());
         },
         Outcome::Kept, "不是普通文件"},
#endif
        {"a hard link to the executable",
         [](W w) { fs::create_hard_link(w.exe.path(), w.exe.journalFile()); }, Outcome::Kept,
         "同一个文件"},
        {"a journal with a second name",
         [](W w) {
             w.plant(w.journal);
             fs::create_hard_link(w.exe.journalFile(), w.exe.dir() / "second");
         },
         Outcome::Kept, "硬链接"},
    };
    for (const Case& c : cases) {
        for (const bool readOnly : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (readOnly ? ", read-only" : ""));
            const Interrupted w;
            c.plant(w);
            const Bytes before = w.exe.bytes();
            const std::string planted = whatIsThere(w.exe.journalFile());
            std::unique_ptr<Document> doc;
            std::string message;
            try {
                doc = w.exe.open({.readOnly = readOnly});
                message = doc->takeRecoveryNote();
            } catch (const DocumentError& e) {
                message = e.what();
            }
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
            switch (c.outcome) {
                case Outcome::Played:
                    ASSERT_TRUE(doc);
                    EXPECT_EQ(w.exe.bytes(), w.exe.original());
                    EXPECT_FALSE(w.exe.hasJournal());
                    break;
                case Outcome::Kept: {
                    ASSERT_TRUE(doc);
                    EXPECT_NE(message.find(w.exe.journalFile().string()), std::string::npos);
                    EXPECT_EQ(doc->read(w.hp, 4),
                              Bytes(before.begin() + w.hp, before.begin() + w.hp + 4));
                    EXPECT_TRUE(doc->takeRecoveryNote().empty()) << "said twice";
                    if (!readOnly) {
                        const WriteResult r = writeHp(*doc, "1");
                        EXPECT_EQ(r.status, Status::Failed);
                        EXPECT_NE(r.message.find("没有写入任何内容"), std::string::npos)
                            << r.message;
                    }
                    EXPECT_EQ(w.exe.bytes(), before);
                    EXPECT_EQ(whatIsThere(w.exe.journalFile()), planted);
                    break;
                }
                case Outcome::Refused:
                    EXPECT_FALSE(doc);
                    EXPECT_EQ(w.exe.bytes(), before);
                    EXPECT_EQ(whatIsThere(w.exe.journalFile()), planted);
                    EXPECT_NE(message.find(w.exe.journalFile().string()), std::string::npos);
                    break;
            }
        }
    }
}

// A journal beside a file that is not the game's executable is never played into it, even
// when its size field and identity match that file.
TEST(SideFiles, AJournalBesideAFileThatIsNoExecutableIsNotPlayed) {
    for (const std::size_t size : {std::size_t{3542016}, std::size_t{64}}) {
        SCOPED_TRACE(size);
        const Interrupted w;
        test::writeFile(w.exe.path(), Bytes(size, 0));
        const std::uint64_t at = std::min<std::uint64_t>(w.hp, size - 4);
        w.plant(test::interruptedJournal(w.exe.path(), {{at, {1, 2, 3, 4}, {0, 0, 0, 0}}}));
        const Bytes planted = test::readFile(w.exe.journalFile());
        EXPECT_THROW(w.exe.open({.readOnly = true}), DocumentError);
        EXPECT_THROW(w.exe.open(), DocumentError);
        EXPECT_EQ(w.exe.bytes(), Bytes(size, 0));
        EXPECT_EQ(test::readFile(w.exe.journalFile()), planted);
    }
}

// When the journal cannot be removed, it is never emptied instead (which would empty the
// executable through a hard link), and a folder that would keep it refuses before anything.
TEST(SideFiles, AJournalThatCannotBeRemovedIsLeftWholeAndNothingIsWritten) {
    for (const bool valid : {true, false}) {
        SCOPED_TRACE(valid ? "valid journal, folder not writable" : "damaged journal");
        const Interrupted w;
        Bytes journal = journalBytes(w.journal);
        if (!valid)
            journal.pop_back();
        w.plant(journal);
        test::HookOps ops;
        ops.fail = [](const std::string& call, const std::string&) {
            return call == "unlink" || call == "mayWriteIn" ? EACCES : 0;
        };
        if (valid)
            EXPECT_THROW(w.exe.open({.ops = &ops}), DocumentError);
        else  // somebody else's file: nothing to remove, the file opens beside it
            EXPECT_NO_THROW(w.exe.open({.ops = &ops}));
        EXPECT_EQ(w.exe.bytes(), w.changed);
        EXPECT_EQ(test::readFile(w.exe.journalFile()), journal);
    }
}

// Every path to the file shares one journal: a write through a link first plays back what
// an interrupted write through the real path left, so no later open undoes the new write.
TEST(SideFiles, APathThroughALinkSharesTheJournal) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoLinks;
#endif
    const Interrupted w;
    w.plant(w.journal);
    test::TempDir elsewhere;
    const fs::path link = elsewhere / "game";
    fs::create_symlink(w.exe.path(), link);
    {
        auto doc = Document::open(link, tableLayout(), {.backup = false});
        EXPECT_NE(doc->takeRecoveryNote().find("恢复"), std::string::npos);
        EntryEditor editor(*doc, nullptr);
        const EntryView view = editor.show(unitTable(), 5);
        auto edited = view.values;
        edited[static_cast<std::size_t>(unitTable().fieldIndex("hp"))] = FieldValue::ofText("4321");
        ASSERT_EQ(editor.save({{&unitTable(), 5, view.values, edited}}).status, Status::Written);
    }
    const Bytes written = w.exe.bytes();
    EXPECT_FALSE(w.exe.hasJournal());
    auto again = w.exe.open();
    EXPECT_TRUE(again->takeRecoveryNote().empty());
    EXPECT_EQ(w.exe.bytes(), written);
    EXPECT_FALSE(fs::exists(elsewhere / "game.journal"));
}

// Writes unit 5's HP through a document of `exe` with `ops`.
WriteResult writeHp(const DemoExe& exe, FileOps& ops, const char* hp) {
    auto doc = exe.open({.ops = &ops});
    return writeHp(*doc, hp);
}

// A journal lies beside one name of the file only: read through another, an interrupted
// write would pass for a whole file. So a file with a second name (a backup or a partial
// copy planted as a hard link, or any other) is read and never written.
TEST(SideFiles, AnExecutableWithSeveralNamesIsReadButNeverWritten) {
    for (const char* second : {".bak", ".bak.partial", "-copy"}) {
        SCOPED_TRACE(second);
        const DemoExe exe;
        fs::create_hard_link(exe.path(), exe.path().string() + second);
        auto doc = exe.open();
        EXPECT_NE(doc->takeRecoveryNote().find("2 个名字"), std::string::npos);
        const WriteResult r = writeHp(*doc, "1");
        EXPECT_EQ(r.status, Status::Failed);
        EXPECT_FALSE(r.fileChanged);
        EXPECT_NE(r.message.find("硬链接"), std::string::npos) << r.message;
        EXPECT_EQ(exe.bytes(), exe.original());
        EXPECT_FALSE(exe.hasJournal());
        fs::remove(exe.path().string() + second);
        EXPECT_EQ(writeHp(*doc, "1").status, Status::Written) << "one name again";
        EXPECT_EQ(test::readFile(exe.backup()), exe.original());
    }
}

// A second name made after a killed write (ln game.exe other.exe) does not hide the torn
// file: through it nothing is read, printed, patched or put into a disc image; through the
// journal's own name the file is put right as always.
TEST(SideFiles, AJournalBesideAnotherNameOfTheFileIsSeenThroughEveryName) {
    const Interrupted w;
    w.plant(w.journal);
    const fs::path other = w.exe.dir() / "other.exe";
    fs::create_hard_link(w.exe.path(), other);
    for (const bool readOnly : {true, false}) {
        try {
            Document::open(other, tableLayout(), {.readOnly = readOnly});
            ADD_FAILURE() << "opened through the other name";
        } catch (const DocumentError& e) {
            EXPECT_NE(std::string(e.what()).find(w.exe.journalFile().string()), std::string::npos)
                << e.what();
        }
    }
    const test::TempDir dir;
    const fs::path image = test::makeImage(dir.path(), test::demoBytes(), false);
    const Bytes disc = test::readFile(image);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"get", "unit", "5"},
                                                 {"mod", "create", (dir / "m.bps").string()},
                                                 {"iso", "replace", image.string()}}) {
        SCOPED_TRACE(args[0]);
        const test::CliRun r = test::cli([&] {
            auto a = args;
            a.insert(a.begin(), {"--exe", other.string()});
            return a;
        }());
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_NE(r.err.find(".journal"), std::string::npos) << r.err;
    }
    EXPECT_EQ(test::readFile(image), disc);
    EXPECT_FALSE(fs::exists(dir / "m.bps"));
    EXPECT_EQ(w.exe.bytes(), w.changed);

    // A file at the journal's name that cannot be played back keeps the executable out of
    // the disc image too.
    fs::remove(other);
    test::writeText(w.exe.journalFile(), "not a journal");
    const test::CliRun r = w.exe.run({"iso", "replace", image.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("没有把它放进镜像"), std::string::npos) << r.err;
    EXPECT_EQ(test::readFile(image), disc);
}

// What a killed write leaves (its journal beside the name it wrote through, and the record of
// the write under the file's identity), then the file given a name in another folder, by a
// hard link or a move: whatever reads it through that name plays the journal back first.
TEST(SideFiles, AJournalIsFoundFromTheFileWhateverItsNameOrFolderNow) {
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move ? "moved" : "linked");
        const Interrupted w;
        w.plant(w.journal);
        FileStatus st;
        ASSERT_EQ(systemFileOps().stat(w.exe.path(), st), 0);
        recordPendingWrite(systemFileOps(), st.identity(), w.exe.journalFile());
        const test::TempDir game;
        const fs::path other = game / "SLKV_618.04";
        move ? fs::rename(w.exe.path(), other) : fs::create_hard_link(w.exe.path(), other);
        const test::CliRun r = test::cli({"--exe", other.string(), "get", "unit", "5"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find(w.exe.journalFile().string()), std::string::npos) << r.err;
        EXPECT_EQ(test::readFile(other), w.exe.original());
        EXPECT_FALSE(fs::exists(w.exe.journalFile()));
        EXPECT_FALSE(pendingJournal(systemFileOps(), st.identity()));
    }
}

// Links planted at the names the program is about to create, at the moment it creates them:
// the file they point at is never written, and the program's file never becomes a link.
TEST(SideFiles, LinksPlantedAtTheNamesBeingCreatedAreNeverFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoLinks;
#endif
    struct Case {
        const char* name;
        const char* call;    // the call before which the link appears
        const char* suffix;  // on a path ending so
        bool written;        // whether the write still goes through (under another name)
    };
    const Case cases[] = {
        {"the backup's fresh name", "open", ".partial", true},
        {"the backup's name", "renameNoReplace", ".bak", false},
        {"the journal's name", "renameNoReplace", ".journal", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DemoExe exe;
        const fs::path victim = exe.dir() / "victim";
        test::writeText(victim, "keep me");
        fs::create_symlink(exe.dir() / "old.bak", exe.dir() / "unrelated.partial");
        test::HookOps ops;
        bool planted = false;
        ops.before = [&](const std::string& call, const std::string& path, int) {
            const std::string end = c.suffix;
            if (planted || call != c.call || path.size() < end.size() ||
                path.compare(path.size() - end.size(), end.size(), end) != 0) {
                return;
            }
            planted = true;
            fs::create_symlink(victim, path);
        };
        const WriteResult r = writeHp(exe, ops, "1");
        ASSERT_TRUE(planted);
        EXPECT_EQ(test::readFile(victim), Bytes({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
        if (c.written) {
            EXPECT_EQ(r.status, Status::Written) << r.message;
            EXPECT_FALSE(fs::is_symlink(exe.backup()));
            EXPECT_EQ(test::readFile(exe.backup()), exe.original());
        } else {
            EXPECT_NE(r.status, Status::Written);
            EXPECT_EQ(exe.bytes(), exe.original());
            EXPECT_NE(r.message.find("已有同名文件"), std::string::npos) << r.message;
        }
        // Nothing of the program's own is left under a fresh name.
        for (const auto& e : fs::directory_iterator(exe.dir())) {
            const std::string n = e.path().filename().string();
            EXPECT_TRUE(n.find(".partial") == std::string::npos || fs::is_symlink(e.path())) << n;
        }
    }
}

}  // namespace
}  // namespace vorlan
