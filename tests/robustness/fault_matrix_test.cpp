// Every write path failing at every call: a field save of every table, a paste of each
// copyable table, a whole-table patch, an undo, and the disc image replacement. A write,
// a short write, a full disk or a flush fails at the Nth call; afterwards the file is as
// before or as intended, no journal is left (or the next open plays it back), and the
// message says which.

#include <gtest/gtest.h>

#include <functional>

#include "document/backup.h"
#include "document/document.h"
#include "document/entry_editor.h"
#include "document/journal.h"
#include "fixtures/disc_images.h"
#include "fixtures/faulty_ops.h"
#include "fixtures/fixtures.h"
#include "image/disc_image.h"
#include "tables/catalog.h"
#include "tables/unit_patches.h"
#include "tables/unit_table.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = test::FaultyOps::Kind;
using Status = WriteResult::Status;
namespace fs = std::filesystem;

// A value for field 0 of the last entry that differs from the one shown.
FieldValue otherValue(const FieldDef& f, const FieldValue& shown) {
    switch (f.encoding->kind()) {
        case ValueKind::Choice:
            return FieldValue::ofChoice((shown.index + 1) % f.encoding->itemCount());
        case ValueKind::Marks:
            return FieldValue::ofMarks(shown.marks.empty() ? std::vector<int>{0}
                                                           : std::vector<int>{});
        case ValueKind::Toggle:
            return FieldValue::ofToggle(!shown.on);
        case ValueKind::Text:
            break;
    }
    const std::string name = f.encoding->name();
    if (name == "name-code" || name == "hex-run")
        return FieldValue::ofText(shown.text == "4142" ? "4344" : "4142");
    return FieldValue::ofText(shown.text == "1" ? "2" : "1");
}

struct Action {
    std::string name;
    // Runs the write; calls `arm` where the faults may begin (after any preparation).
    std::function<WriteResult(Document&, EntryEditor&, const std::function<void()>& arm)> run;
};

std::vector<Action> actions() {
    std::vector<Action> out;
    for (const TableDef* t : allTables()) {
        out.push_back({"save " + t->name, [t](Document&, EntryEditor& e, const auto& arm) {
                           const int index = t->count - 1;
                           const EntryView view = e.show(*t, index);
                           auto edited = view.values;
                           edited[0] = otherValue(t->fields[0], view.values[0]);
                           arm();
                           return e.save({{t, index, view.values, edited}});
                       }});
        if (t->copyable) {
            out.push_back({"paste " + t->name, [t](Document&, EntryEditor& e, const auto& arm) {
                               const auto bytes = e.copy(*t, 1);
                               arm();
                               return e.paste(*t, 2, bytes, "1");
                           }});
        }
    }
    out.push_back({"patch", [](Document&, EntryEditor& e, const auto& arm) {
                       arm();
                       return e.setOnAll(unitTable(), chipsPatch().values, "patch");
                   }});
    out.push_back({"undo", [](Document& d, EntryEditor& e, const auto& arm) {
                       const EntryView view = e.show(unitTable(), 9);
                       auto edited = view.values;
                       edited[2] = FieldValue::ofText("4321");
                       const WriteResult w = e.save({{&unitTable(), 9, view.values, edited}});
                       arm();
                       return d.undo(w.step);
                   }});
    return out;
}

TEST(SlowFaultMatrix, EveryWritePathEndsWholeAfterAnyFailedCall) {
    test::TempDir dir;
    const fs::path exe = test::writeDemo(dir / "SLKV_618.04");
    const Bytes original = test::readFile(exe);
    test::writeFile(backupPath(exe), original);  // making the backup is tested elsewhere
    int runs = 0;
    for (const Action& action : actions()) {
        SCOPED_TRACE(action.name);
        // A clean run: the intended result, and the calls made after arming.
        test::FaultyOps counting;
        Bytes before;
        Bytes intended;
        test::writeFile(exe, original);
        {
            auto doc = Document::open(exe, tableLayout(), {.ops = &counting});
            EntryEditor editor(*doc, nullptr);
            const WriteResult r = action.run(*doc, editor, [&] {
                before = test::readFile(exe);
                counting.arm(Kind::None, 0);
            });
            ASSERT_EQ(r.status, Status::Written) << r.message;
            intended = test::readFile(exe);
        }
        const int writes = counting.writes();
        const int syncs = counting.syncs();
        for (Kind kind : {Kind::WriteError, Kind::ShortWrite, Kind::DiskFull, Kind::SyncError}) {
            const int calls = kind == Kind::SyncError ? syncs : writes;
            for (int n = 1; n <= calls; ++n) {
                test::writeFile(exe, original);
                test::FaultyOps ops;
                auto doc = Document::open(exe, tableLayout(), {.ops = &ops});
                EntryEditor editor(*doc, nullptr);
                const WriteResult r = action.run(*doc, editor, [&] { ops.arm(kind, n); });
                const std::string where =
                    "kind " + std::to_string(static_cast<int>(kind)) + " n " + std::to_string(n);
                ++runs;
                if (r.status == Status::Written) {
                    EXPECT_EQ(test::readFile(exe), intended) << where;
                } else {
                    ASSERT_EQ(r.status, Status::Failed) << where << " " << r.message;
                    if (r.fileChanged) {
                        EXPECT_TRUE(fs::exists(journalPath(exe))) << where;
                        doc.reset();
                        Document::open(exe, tableLayout());  // plays the journal back
                    } else {
                        EXPECT_NE(r.message.find("没有"), std::string::npos) << where;
                    }
                    EXPECT_EQ(test::readFile(exe), before) << where;
                }
                EXPECT_FALSE(fs::exists(journalPath(exe))) << where;
            }
        }
    }
    EXPECT_GT(runs, 100);
    EXPECT_EQ(test::readFile(backupPath(exe)), original);
}

TEST(SlowFaultMatrix, TheImageReplacementEndsWholeOrRestorableAfterAnyFailedCall) {
    test::TempDir dir;
    const fs::path image = test::makeImage(dir.path(), test::demoBytes(), false);
    const Bytes original = test::readFile(image);
    Bytes exe = test::demoBytes();
    for (std::size_t i = 4096; i < exe.size(); i += 4096)
        exe[i] ^= 0x33;  // a change in every chunk, the ELF header kept
    test::FaultyOps counting;
    ASSERT_TRUE(replaceExecutable(image, exe, {}, &counting).ok);
    const Bytes intended = test::readFile(image);
    const int writes = counting.writes();
    const int syncs = counting.syncs();
    for (Kind kind : {Kind::WriteError, Kind::ShortWrite, Kind::DiskFull, Kind::SyncError}) {
        const int calls = kind == Kind::SyncError ? syncs : writes;
        for (int n = 1; n <= calls; ++n) {
            const std::string where =
                "kind " + std::to_string(static_cast<int>(kind)) + " n " + std::to_string(n);
            test::writeFile(image, original);
            fs::remove(savedRegionPath(image));
            test::FaultyOps ops;
            ops.arm(kind, n);
            const ImageWrite w = replaceExecutable(image, exe, {}, &ops);
            if (w.ok) {
                EXPECT_EQ(test::readFile(image), intended) << where;
            } else if (!w.imageChanged) {
                EXPECT_EQ(test::readFile(image), original) << where;
            } else {
                EXPECT_NE(w.message.find(savedRegionPath(image).string()), std::string::npos);
                ASSERT_TRUE(restoreRegion(image).ok) << where;
                EXPECT_EQ(test::readFile(image), original) << where;
            }
            EXPECT_FALSE(fs::exists(savedRegionPath(image).string() + ".partial")) << where;
        }
    }
}

}  // namespace
}  // namespace vorlan
