// Every way a write can go wrong comes back as a result with a message, never as an
// exception through the caller, and leaves the file as it was; each cause of a refused open
// is named as what it is.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "document/entry_editor.h"
#include "fixtures/demo_exe.h"
#include "fixtures/hook_ops.h"
#include "fixtures/journals.h"
#include "tables/unit_table.h"
#include "tables/upgrade_tables.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = WriteResult::Status;
using test::DemoExe;

// The unit table with its HP bytes declared reserved: a definition fault that must never
// reach the file.
const TableDef& unitsWithReservedHp() {
    static const TableDef table = [] {
        TableDef t = unitTable();
        t.reserved.push_back({36, 4});
        return t;
    }();
    return table;
}

WriteResult saveHp(EntryEditor& editor, const TableDef& table, int index, const char* hp) {
    std::vector<FieldValue> shown(table.fields.size());
    if (index >= 0 && index < table.count)
        shown = editor.show(table, index).values;
    auto edited = shown;
    edited[static_cast<std::size_t>(table.fieldIndex("hp"))] = FieldValue::ofText(hp);
    return editor.save({{&table, index, shown, edited}});
}

// A raw change over unit 5's first bytes whose edit does `edit`.
Change rawChange(std::vector<std::pair<std::uint64_t, std::size_t>> ranges,
                 std::function<void(std::vector<Block>&)> edit) {
    Change c;
    c.table = "unit";
    c.ranges = std::move(ranges);
    c.edit = [edit](std::vector<Block>& blocks) {
        edit(blocks);
        return EditOutcome{};
    };
    return c;
}

TEST(WriteResults, EveryFaultOfAChangeIsAResultAndWritesNothing) {
    const std::uint64_t unit5 = unitTable().entryOffset(5);
    struct Case {
        const char* name;
        std::function<WriteResult(Document&, EntryEditor&)> run;
        Status status;
        const char* says;
    };
    const Case cases[] = {
        {"a save of an entry past the end",
         [](Document&, EntryEditor& e) { return saveHp(e, unitTable(), 481, "1"); },
         Status::Refused, "没有第 481 个条目"},
        {"a save over reserved bytes",
         [](Document&, EntryEditor& e) { return saveHp(e, unitsWithReservedHp(), 5, "1"); },
         Status::Refused, "保留字节"},
        {"a whole-table edit over reserved bytes",
         [](Document&, EntryEditor& e) {
             return e.setOnAll(unitsWithReservedHp(), {{"hp", FieldValue::ofText("1")}}, "HP");
         },
         Status::Refused, "保留字节"},
        {"a whole-table edit of a field the table lacks",
         [](Document&, EntryEditor& e) {
             return e.setOnAll(unitTable(), {{"no-such", FieldValue::ofText("1")}}, "x");
         },
         Status::Refused, "no-such"},
        {"a paste into a table whose entries are not copied",
         [](Document&, EntryEditor& e) {
             return e.paste(upgradeCostTable(), 0,
                            Bytes(static_cast<std::size_t>(upgradeCostTable().size), 1), "x");
         },
         Status::Refused, "不能整条复制"},
        {"a paste of the wrong size",
         [](Document&, EntryEditor& e) { return e.paste(unitTable(), 5, Bytes(3, 1), "x"); },
         Status::Refused, "3 字节"},
        {"overlapping blocks",
         [unit5](Document& d, EntryEditor&) {
             return d.write(rawChange({{unit5, 8}, {unit5 + 4, 8}}, [](auto& blocks) {
                 for (Block& b : blocks)
                     b.bytes[0] ^= 1;
             }));
         },
         Status::Failed, "重叠"},
        {"an edit that resizes its block",
         [unit5](Document& d, EntryEditor&) {
             return d.write(
                 rawChange({{unit5, 8}}, [](auto& blocks) { blocks[0].bytes.push_back(1); }));
         },
         Status::Failed, "内部错误"},
        {"an edit that throws",
         [unit5](Document& d, EntryEditor&) {
             return d.write(rawChange(
                 {{unit5, 8}}, [](auto&) -> void { throw std::logic_error("broken rule"); }));
         },
         Status::Failed, "broken rule"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DemoExe exe;
        auto doc = exe.open();
        EntryEditor editor(*doc, nullptr);
        WriteResult r;
        EXPECT_NO_THROW(r = c.run(*doc, editor));
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
        EXPECT_EQ(exe.bytes(), exe.original());
        EXPECT_FALSE(exe.hasJournal());
    }
    const DemoExe exe;
    auto doc = exe.open();
    EntryEditor editor(*doc, nullptr);
    EXPECT_THROW(editor.show(unitTable(), -1), DocumentError);
    EXPECT_THROW(editor.copy(unitTable(), 481), DocumentError);
}

// A save of a unit and one of its weapon slots names every bad field of both, writes none.
TEST(WriteResults, ARefusedSaveNamesEveryBadFieldOfEveryEdit) {
    const DemoExe exe;
    auto doc = exe.open();
    EntryEditor editor(*doc, nullptr);
    const auto edit = [&](const TableDef& table, int index,
                          std::vector<std::pair<const char*, const char*>> values) {
        EntryEdit e{&table, index, editor.show(table, index).values, {}};
        e.edited = e.shown;
        for (const auto& [key, text] : values)
            e.edited[static_cast<std::size_t>(table.fieldIndex(key))] = FieldValue::ofText(text);
        return e;
    };
    const WriteResult r =
        editor.save({edit(unitTable(), 5, {{"hp", "x"}, {"en", "7"}, {"move", "70000"}}),
                     edit(weaponTable(), 5 * 18 + 2, {{"attack", "-"}})});
    ASSERT_EQ(r.status, Status::Refused);
    ASSERT_EQ(r.refusals.size(), 3u);
    EXPECT_EQ(r.refusals[0].edit, 0);
    EXPECT_EQ(r.refusals[0].field, unitTable().fieldIndex("hp"));
    EXPECT_EQ(r.refusals[1].field, unitTable().fieldIndex("move"));
    EXPECT_EQ(r.refusals[2].edit, 1);
    EXPECT_EQ(r.refusals[2].field, weaponTable().fieldIndex("attack"));
    EXPECT_EQ(r.message, r.refusals[0].message);
    EXPECT_EQ(exe.bytes(), exe.original());
}

// A file renamed into the executable's place is told apart from one changed in place, and
// reads of it are refused as replaced.
TEST(WriteResults, AFileRenamedIntoPlaceIsReplaced) {
    const DemoExe exe;
    auto doc = exe.open();
    auto bytes = exe.bytes();
    bytes[100] ^= 1;
    test::writeFile(exe.path(), bytes);  // in place: the same file
    EXPECT_FALSE(doc->replaced());
    const auto other = exe.dir() / "other";
    test::writeFile(other, exe.original());
    std::filesystem::rename(other, exe.path());
    EXPECT_TRUE(doc->replaced());
    EXPECT_THROW(doc->read(0, 4), ReplacedError);
}

// The file moved away and another put at its name while a write is under way, at each flush
// of the write (the backup's, the record's, the journal's, the file's own and after): the edit
// lands in the moved file only when the write says it was written, never in the other one,
// and no journal is left behind. Up to the file's own flush, the write is taken back.
TEST(WriteResults, AFileSwappedByRenameDuringAWriteGetsTheEditOnlyWhenWritten) {
    namespace fs = std::filesystem;
    const auto swapAt = [](int at, int* exeFlush) {
        const DemoExe exe;
        const fs::path moved = exe.dir() / "moved.exe";
        Bytes other = exe.original();
        other[100] ^= 1;
        test::HookOps ops;
        int flushes = 0;
        ops.before = [&](const std::string& call, const std::string&, int) {
            if (call != "fsync")
                return;
            ++flushes;
            if (exeFlush != nullptr && *exeFlush == 0 && exe.bytes() != exe.original())
                *exeFlush = flushes;
            if (flushes == at) {
                fs::rename(exe.path(), moved);
                test::writeFile(exe.path(), other);
            }
        };
        auto doc = exe.open({.ops = &ops});
        EntryEditor editor(*doc, nullptr);
        const WriteResult r = saveHp(editor, unitTable(), 5, "12345");
        if (at == 0 || at > flushes)
            return std::pair{r.status, flushes};
        EXPECT_TRUE(r.status == Status::Written || r.status == Status::Replaced) << r.message;
        EXPECT_EQ(test::readFile(moved) != exe.original(), r.status == Status::Written);
        EXPECT_EQ(test::readFile(exe.path()), other);
        EXPECT_FALSE(fs::exists(exe.journalFile()));
        return std::pair{r.status, flushes};
    };
    int exeFlush = 0;
    const int flushes = swapAt(0, &exeFlush).second;
    ASSERT_GT(exeFlush, 0);
    for (int at = 1; at <= flushes; ++at) {
        SCOPED_TRACE("swapped at flush " + std::to_string(at));
        const Status status = swapAt(at, nullptr).first;
        if (at <= exeFlush) {
            EXPECT_EQ(status, Status::Replaced);
        }
    }
}

// What stands in the way of an open is named: the executable not writable, the journal not
// readable, the journal not removable, a reader that cannot get write access to recover.
TEST(WriteResults, EachCauseOfARefusedOpenIsNamed) {
    struct Case {
        const char* name;
        bool readOnly;
        bool journal;
        std::function<int(const std::string& call, const std::string& path)> fail;
        const char* says;
        const char* notSaid;
    };
    const auto ends = [](const std::string& path, const char* tail) {
        const std::string t = tail;
        return path.size() >= t.size() && path.compare(path.size() - t.size(), t.size(), t) == 0;
    };
    int opens = 0;
    const Case cases[] = {
        {"the executable is read-only", false, false,
         [&](const std::string& call, const std::string& path) {
             return call == "open" && ends(path, "SLKV_618.04") ? EACCES : 0;
         },
         "无法以读写方式打开文件", "恢复日志"},
        {"the journal cannot be read", false, true,
         [&](const std::string& call, const std::string& path) {
             return call == "open" && ends(path, ".journal") ? EACCES : 0;
         },
         "恢复日志", "无法以读写方式打开文件"},
        {"the journal cannot be removed", false, true,
         [&](const std::string& call, const std::string&) { return call == "unlink" ? EACCES : 0; },
         "无法删除恢复日志", "无法以读写方式打开文件"},
        {"a reader cannot get write access to recover", true, true,
         [&](const std::string& call, const std::string& path) {
             return call == "open" && ends(path, "SLKV_618.04") && ++opens > 1 ? EACCES : 0;
         },
         "要按它恢复游戏主程序，需要以读写方式打开文件", "已删除"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DemoExe exe;
        if (c.journal) {
            // A write of unit 5's HP interrupted before any of its bytes reached the file.
            const std::uint64_t hp = unitTable().entryOffset(5) + 36;
            const Bytes old(exe.original().begin() + hp, exe.original().begin() + hp + 4);
            Bytes now = old;
            for (std::uint8_t& b : now)
                b ^= 0x5A;
            test::plantJournal(exe.path(), test::interruptedJournal(exe.path(), {{hp, old, now}}));
        }
        test::HookOps ops;
        ops.fail = c.fail;
        opens = 0;
        try {
            exe.open({.readOnly = c.readOnly, .ops = &ops});
            ADD_FAILURE() << "opened";
        } catch (const DocumentError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find(c.says), std::string::npos) << m;
            EXPECT_EQ(m.find(c.notSaid), std::string::npos) << m;
        }
        EXPECT_EQ(exe.bytes(), exe.original());
    }
}

}  // namespace
}  // namespace vorlan
