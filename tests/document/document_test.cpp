// The document core: every write all or nothing under faults, the backup trusted only
// when whole, the journal played back at open, undo and redo, other writers kept out.

#include <gtest/gtest.h>

#include <thread>

#include "document/document.h"
#include "document/entry_editor.h"
#include "document/journal.h"
#include "fixtures/demo_exe.h"
#include "fixtures/engine.h"
#include "fixtures/faulty_ops.h"
#include "fixtures/fixtures.h"
#include "fixtures/hook_ops.h"
#include "io/child_process.h"
#include "io/path_text.h"
#include "schema/name_source.h"
#include "tables/unit_patches.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = WriteResult::Status;
namespace fs = std::filesystem;

FieldValue text(const char* t) {
    return FieldValue::ofText(t);
}

using test::DemoExe;

// Unit 5's HP and armour over the values a page showed, as its write does.
WriteResult saveUnit5(EntryEditor& editor, const EntryView& view, const char* hp,
                      const char* armor) {
    auto edited = view.values;
    edited[static_cast<std::size_t>(unitTable().fieldIndex("hp"))] = text(hp);
    edited[static_cast<std::size_t>(unitTable().fieldIndex("armor"))] = text(armor);
    return editor.save({{&unitTable(), 5, view.values, edited}});
}

WriteResult saveUnit5(EntryEditor& editor, const char* hp, const char* armor) {
    return saveUnit5(editor, editor.show(unitTable(), 5), hp, armor);
}

TEST(Document, AWriteReportsItsStepAndKeepsABackup) {
    const DemoExe exe;
    auto doc = exe.open();
    EntryEditor editor(*doc, nullptr);
    WriteResult r = saveUnit5(editor, "1000", "900");
    ASSERT_EQ(r.status, Status::Written) << r.message;
    EXPECT_EQ(r.step.table, "unit");
    EXPECT_EQ(r.step.fields, (std::vector<std::string>{"hp", "armor"}));
    EXPECT_EQ(r.step.label.rfind("机体005：HP ", 0), 0u) << r.step.label;
    EXPECT_NE(r.step.label.find(" → 1000，装甲 "), std::string::npos) << r.step.label;
    // Only the changed bytes, in runs; the bytes between HP and armour are not among them.
    const std::uint64_t base = unitTable().entryOffset(5);
    for (const ByteRun& run : r.step.runs) {
        EXPECT_TRUE((run.offset >= base + 36 && run.offset < base + 40) ||
                    (run.offset >= base + 46 && run.offset < base + 48))
            << run.offset - base;
    }
    EXPECT_NE(r.backupNote.find("SLKV_618.04.bak"), std::string::npos);
    EXPECT_EQ(test::readFile(exe.backup()), exe.original());
    EXPECT_FALSE(exe.hasJournal());
    EXPECT_FALSE(fs::exists(exe.backup().string() + ".partial"));

    // The backup is named at the first write of a run only; the same values write nothing.
    r = saveUnit5(editor, "2000", "900");
    ASSERT_EQ(r.status, Status::Written);
    EXPECT_TRUE(r.backupNote.empty());
    EXPECT_EQ(saveUnit5(editor, "2000", "900").status, Status::Unchanged);

    // A new run names the existing backup and keeps it as it is.
    auto again = exe.open();
    EntryEditor second(*again, nullptr);
    r = saveUnit5(second, "3000", "900");
    EXPECT_NE(r.backupNote.find("之前已有"), std::string::npos);
    EXPECT_EQ(test::readFile(exe.backup()), exe.original());
}

TEST(Document, UndoAndRedoRestoreTheBytesUnlessSomeoneElseChangedThem) {
    const DemoExe exe;
    auto doc = exe.open();
    EntryEditor editor(*doc, nullptr);
    const WriteResult saved = saveUnit5(editor, "1000", "900");
    const Bytes written = exe.bytes();
    ASSERT_EQ(doc->undo(saved.step).status, Status::Written);
    EXPECT_EQ(exe.bytes(), exe.original());
    ASSERT_EQ(doc->redo(saved.step).status, Status::Written);
    EXPECT_EQ(exe.bytes(), written);

    const WriteResult patched = editor.setOnAll(unitTable(), chipsPatch().values, "芯片");
    ASSERT_EQ(patched.status, Status::Written);
    EXPECT_EQ(doc->undo(patched.step).status, Status::Written);
    EXPECT_EQ(exe.bytes(), written);

    // Another program changes HP after the write: undo refuses and writes nothing.
    auto other = exe.open(DocumentOptions{.backup = false});
    EntryEditor otherEditor(*other, nullptr);
    ASSERT_EQ(saveUnit5(otherEditor, "5", "900").status, Status::Written);
    const Bytes now = exe.bytes();
    const WriteResult undo = doc->undo(saved.step);
    EXPECT_EQ(undo.status, Status::Refused);
    EXPECT_NE(undo.message.find("撤销"), std::string::npos);
    EXPECT_EQ(exe.bytes(), now);
}

// Every failure point of a save and of a patch: afterwards the file is as before or as
// intended, the message says which, the journal is gone and the backup is whole.
TEST(SlowDocument, AWriteFailingAtAnyCallLeavesTheFileWhole) {
    using Kind = test::FaultyOps::Kind;
    struct Action {
        const char* name;
        std::function<WriteResult(EntryEditor&)> run;
        // The patch starts with a backup in place (the save covers making one), which keeps
        // its hundreds of failure points affordable.
        bool backupMade;
    };
    const Action actions[] = {
        {"save", [](EntryEditor& e) { return saveUnit5(e, "1234", "777"); }, false},
        {"patch",
         [](EntryEditor& e) {
             return e.setOnAll(unitTable(), upgradeLimitsPatch().values, "patch");
         },
         true},
    };
    for (const Action& action : actions) {
        // The intended result, and how many writes and flushes a clean run makes.
        Bytes intended;
        int writes = 0;
        int syncs = 0;
        {
            const DemoExe exe;
            if (action.backupMade)
                test::writeFile(exe.backup(), exe.original());
            test::FaultyOps counting;
            auto doc = exe.open({.ops = &counting});
            EntryEditor editor(*doc, nullptr);
            ASSERT_EQ(action.run(editor).status, Status::Written);
            intended = exe.bytes();
            writes = counting.writes();
            syncs = counting.syncs();
        }
        ASSERT_GT(writes, 2) << action.name;
        // One file for every run of this action, put back as it was after each run.
        const DemoExe exe;
        if (action.backupMade)
            test::writeFile(exe.backup(), exe.original());
        for (Kind kind : {Kind::WriteError, Kind::ShortWrite, Kind::DiskFull, Kind::SyncError}) {
            const int calls = kind == Kind::SyncError ? syncs : writes;
            for (int n = 1; n <= calls; ++n) {
                test::FaultyOps ops;
                auto doc = exe.open({.ops = &ops});
                EntryEditor editor(*doc, nullptr);
                ops.arm(kind, n);
                const WriteResult r = action.run(editor);
                const std::string where = std::string(action.name) + " kind " +
                                          std::to_string(static_cast<int>(kind)) + " n " +
                                          std::to_string(n);
                Bytes after = exe.bytes();
                if (kind == Kind::ShortWrite) {
                    // A short write is carried on from where it stopped.
                    EXPECT_EQ(r.status, Status::Written) << where;
                }
                if (r.status == Status::Written) {
                    EXPECT_EQ(after, intended) << where;
                } else if (r.status == Status::BackupProblem) {
                    EXPECT_EQ(after, exe.original()) << where;
                } else {
                    ASSERT_EQ(r.status, Status::Failed) << where;
                    EXPECT_FALSE(r.message.empty()) << where;
                    if (r.fileChanged) {
                        // Only a full disk can also stop the restore; the journal then
                        // restores the file at the next open.
                        EXPECT_EQ(kind, Kind::DiskFull) << where;
                        EXPECT_TRUE(exe.hasJournal()) << where;
                        ops.arm(Kind::None, 0);
                        auto reopened = exe.open();
                        EXPECT_NE(reopened->takeRecoveryNote().find("恢复"), std::string::npos);
                        EXPECT_EQ(exe.bytes(), exe.original()) << where;
                    } else {
                        EXPECT_EQ(after, exe.original()) << where;
                        EXPECT_NE(r.message.find("没有"), std::string::npos) << where;
                    }
                }
                EXPECT_FALSE(exe.hasJournal()) << where;
                EXPECT_FALSE(fs::exists(exe.backup().string() + ".partial")) << where;
                if (fs::exists(exe.backup()) && !action.backupMade) {
                    EXPECT_EQ(test::readFile(exe.backup()), exe.original()) << where;
                    fs::remove(exe.backup());
                }
                if (r.fileChanged)
                    after = exe.bytes();
                if (after != exe.original())
                    test::writeFile(exe.path(), exe.original());
            }
        }
    }
}

// One failure of each kind at the write's own calls, quick enough for every run of the
// tests: the file ends as it was (the rollback), or, when the rollback fails too, the journal
// restores it at the next open. The matrix above tries every call; this one guards the rule.
TEST(Document, EachKindOfFailedWriteEndsWithTheFileAsItWas) {
    using Kind = test::FaultyOps::Kind;
    int writes = 0;
    int syncs = 0;
    {
        const DemoExe exe;
        test::writeFile(exe.backup(), exe.original());
        test::FaultyOps counting;
        auto doc = exe.open({.ops = &counting});
        EntryEditor editor(*doc, nullptr);
        ASSERT_EQ(saveUnit5(editor, "1234", "777").status, Status::Written);
        writes = counting.writes();
        syncs = counting.syncs();
    }
    struct Case {
        const char* name;
        Kind kind;
        int n;  // the call that fails (the last write is the file's own, the last flush the
                // journal's removal)
        bool journalLeft;
    };
    const Case cases[] = {
        {"the file's write fails", Kind::WriteError, writes, false},
        {"the file's flush fails", Kind::SyncError, syncs - 1, false},
        {"the journal cannot be written", Kind::DiskFull, 1, false},
        {"the disk fills during the write and the rollback", Kind::DiskFull, writes, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DemoExe exe;
        test::writeFile(exe.backup(), exe.original());
        test::FaultyOps ops;
        auto doc = exe.open({.ops = &ops});
        EntryEditor editor(*doc, nullptr);
        ops.arm(c.kind, c.n);
        const WriteResult r = saveUnit5(editor, "1234", "777");
        ASSERT_EQ(r.status, Status::Failed);
        EXPECT_EQ(r.fileChanged, c.journalLeft) << r.message;
        EXPECT_EQ(exe.hasJournal(), c.journalLeft);
        if (c.journalLeft) {
            ops.arm(Kind::None, 0);
            exe.open();
        }
        // Checked before any reopen where nothing was left: a journal played back later
        // would hide a missing rollback.
        EXPECT_EQ(exe.bytes(), exe.original());
    }
    // The journal that will not go after a good write: the write is taken back.
    const DemoExe exe;
    test::writeFile(exe.backup(), exe.original());
    test::HookOps ops;
    ops.fail = [](const std::string& call, const std::string& path) {
        return call == "unlink" && path.ends_with(".journal") ? EACCES : 0;
    };
    auto doc = exe.open({.ops = &ops});
    EntryEditor editor(*doc, nullptr);
    const WriteResult r = saveUnit5(editor, "1234", "777");
    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_FALSE(r.fileChanged);
    EXPECT_EQ(exe.bytes(), exe.original());
    ops.fail = nullptr;
    exe.open();
    EXPECT_EQ(exe.bytes(), exe.original());
}

TEST(Document, ABackupOfTheWrongLengthIsNotTrusted) {
    const DemoExe exe;
    test::writeFile(exe.backup(), Bytes(1771008, 0));
    auto doc = exe.open();
    EntryEditor editor(*doc, nullptr);
    WriteResult r = saveUnit5(editor, "1", "2");
    ASSERT_EQ(r.status, Status::BackupProblem);
    EXPECT_EQ(r.backupKind, BackupCheck::Kind::Untrusted);
    EXPECT_NE(r.message.find("1771008"), std::string::npos);
    EXPECT_EQ(exe.bytes(), exe.original());

    doc->backupToDatedFile();
    r = saveUnit5(editor, "1", "2");
    ASSERT_EQ(r.status, Status::Written) << r.message;
    ASSERT_FALSE(doc->backupFile().empty());
    EXPECT_NE(doc->backupFile(), exe.backup());
    EXPECT_EQ(test::readFile(doc->backupFile()), exe.original());
    EXPECT_EQ(fs::file_size(exe.backup()), 1771008u);  // left as it was
}

// A disk too full for the backup: said as such, with the folder, the room the backup needs
// and that nothing changed, never naming the copy's own file, which is gone.
TEST(Document, ABackupOnAFullDiskSaysHowMuchRoomItNeeds) {
    const DemoExe exe;
    test::FaultyOps ops;
    auto doc = exe.open({.ops = &ops});
    EntryEditor editor(*doc, nullptr);
    ops.arm(test::FaultyOps::Kind::DiskFull, 1);
    const WriteResult r = saveUnit5(editor, "1", "2");
    EXPECT_EQ(r.backupKind, BackupCheck::Kind::DiskFull);
    const std::string said = "磁盘空间不足，无法在文件夹 " + pathText(fs::canonical(exe.dir())) +
                             " 中建立备份 SLKV_618.04.bak：备份需要 3.4 MB";
    EXPECT_TRUE(r.message.starts_with(said)) << r.message;
    EXPECT_NE(r.message.find("没有任何改动"), std::string::npos) << r.message;
    EXPECT_EQ(exe.bytes(), exe.original());
}

TEST(Document, AnotherWriterHoldingTheLockMakesAWriteWaitThenRefuse) {
    const DemoExe exe;
    auto doc = exe.open({.lockWait = std::chrono::milliseconds(100)});
    EntryEditor editor(*doc, nullptr);
    const EntryView shown = editor.show(unitTable(), 5);
    const int fd = systemFileOps().open(exe.path(), OpenMode::ReadWrite, true);
    ASSERT_EQ(systemFileOps().lock(fd, true), 0);
    const WriteResult r = saveUnit5(editor, shown, "1", "2");
    // Reading waits for the writer too, and says why it gives up.
    EXPECT_THROW(editor.show(unitTable(), 5), DocumentError);
    EXPECT_EQ(r.status, Status::Busy);
    EXPECT_NE(r.message.find("另一个程序"), std::string::npos);
    systemFileOps().close(fd);
    EXPECT_EQ(exe.bytes(), exe.original());
    EXPECT_EQ(saveUnit5(editor, "1", "2").status, Status::Written);
}

TEST(Document, AFileReplacedAfterOpeningIsNeverWritten) {
    const DemoExe exe;
    auto doc = exe.open({.backup = false});
    EntryEditor editor(*doc, nullptr);
    EntryView shown = editor.show(unitTable(), 5);

    // Another file renamed into place.
    const auto other = exe.dir() / "other";
    test::writeFile(other, exe.original());
    fs::rename(other, exe.path());
    EXPECT_EQ(saveUnit5(editor, shown, "1", "2").status, Status::Replaced);
    EXPECT_EQ(exe.bytes(), exe.original());
    EXPECT_THROW(editor.show(unitTable(), 5), DocumentError);

    // The same file overwritten in place with something that is not an executable.
    doc = exe.open({.backup = false});
    EntryEditor again(*doc, nullptr);
    shown = again.show(unitTable(), 5);
    Bytes junk = exe.original();
    junk[0] = 'M';
    junk[1] = 'Z';
    test::writeFile(exe.path(), junk);
    const WriteResult r = saveUnit5(again, shown, "1", "2");
    EXPECT_EQ(r.status, Status::Replaced);
    EXPECT_NE(r.message.find("ELF"), std::string::npos);
    EXPECT_EQ(exe.bytes(), junk);
}

// Two processes writing different fields of one record, some sharing a byte: the lock
// makes every read-modify-write whole, so both last values land.
std::size_t fieldOf(const char* key) {
    return static_cast<std::size_t>(unitTable().fieldIndex(key));
}

bool writeRounds(const std::filesystem::path& path, const char* key, int rounds) {
    auto doc = Document::open(path, tableLayout(), {.backup = false});
    EntryEditor editor(*doc, nullptr);
    for (int i = 1; i <= rounds; ++i) {
        const EntryView view = editor.show(unitTable(), 5);
        auto edited = view.values;
        edited[fieldOf(key)] = FieldValue::ofText(std::to_string(i % 16));
        if (!editor.save({{&unitTable(), 5, view.values, edited}}).ok())
            return false;
    }
    return true;
}

constexpr int kRounds = 200;

// The other process: this test program as a child (forked, or started again on Windows).
// It says it has started by a file beside the executable: a fork taken while the parent had
// the executable open and locked would hold that lock for the child's whole life.
const bool otherWriter = registerChildWork("test-writer", [](const std::string& path) {
    test::writeText(textPath(path + ".started"), "");
    return std::string(writeRounds(textPath(path), "step-hp", kRounds + 1) ? "ok" : "failed");
});

TEST(SlowDocument, TwoProcessesWritingOneRecordLoseNothing) {
    ASSERT_TRUE(otherWriter);
    const DemoExe exe;
    ChildAnswer other;
    std::thread child([&] {
        other = runInChild("test-writer", pathText(exe.path()), std::chrono::minutes(4), 16);
    });
    auto started = exe.path();
    started += ".started";
    for (int waited = 0; !std::filesystem::exists(started) && waited < 60000; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(writeRounds(exe.path(), "step-en", kRounds));
    child.join();
    EXPECT_EQ(other.outcome, ChildAnswer::Outcome::Answered);
    EXPECT_EQ(other.line, "ok");
    ByteStore image(exe.bytes());
    const auto v = test::showIn(image, unitTable(), 5);
    EXPECT_EQ(v[fieldOf("step-en")].text, std::to_string(kRounds % 16));
    EXPECT_EQ(v[fieldOf("step-hp")].text, std::to_string((kRounds + 1) % 16));
}

}  // namespace
}  // namespace vorlan
