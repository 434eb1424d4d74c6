#pragma once
// What the import fuzz targets share: a synthetic executable and lists of their own (a
// small character table of ASCII and a few Chinese characters), the table an input's first
// byte picks, and the checks every plan must pass. Any failed check aborts.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bulk/table_import.h"
#include "bulk/table_io.h"
#include "demo/demo_executable.h"
#include "schema/name_source.h"
#include "schema/record_io.h"
#include "tables/catalog.h"
#include "text/char_table.h"
#include "text/shown_text.h"

namespace vorlan::fuzz {

class Lists final : public NameSource {
public:
    Lists() {
        std::vector<std::string> entries;
        char code[8];
        for (int c = 0x21; c < 0x7F; ++c) {
            std::snprintf(code, sizeof code, "81%02X", 0x40 + c - 0x21);
            entries.push_back(code + std::string(1, static_cast<char>(c)));
        }
        for (const char* ch : {"机", "体", "武", "器", "炮", "神", "火", "王"}) {
            std::snprintf(code, sizeof code, "89%02X",
                          0x40 + static_cast<int>(entries.size() % 64));
            entries.push_back(code + std::string(ch));
        }
        chars_ = CharTable(std::move(entries));
        for (int i = 0; i < 481; ++i)
            units_.push_back("U" + std::to_string(i));
        for (int i = 0; i < 485; ++i)
            pilots_.push_back("P" + std::to_string(i));
        for (int i = 0; i < 35; ++i)
            skills_.push_back("S" + std::to_string(i));
    }
    const std::vector<std::string>* names(NameList list) override {
        switch (list) {
            case NameList::Units:
                return &units_;
            case NameList::Pilots:
                return &pilots_;
            case NameList::Skills:
                return &skills_;
            case NameList::None:
                break;
        }
        return nullptr;
    }
    const CharTable* chars() override { return &chars_; }

private:
    CharTable chars_;
    std::vector<std::string> units_;
    std::vector<std::string> pilots_;
    std::vector<std::string> skills_;
};

inline Lists& lists() {
    static Lists l;
    return l;
}

inline const std::vector<std::uint8_t>& executable() {
    static const std::vector<std::uint8_t> bytes = makeDemoExecutable(*lists().chars());
    return bytes;
}

// A message of one line: no control character, no stray byte, no value at full length.
inline void checkMessage(const std::string& text) {
    if (text.empty() || text.size() > 1000 || hasControls(text))
        std::abort();
}

// Plans the input after its first byte as the table that byte picks, when it is a file of
// `format` (each target keeps to its own reader), and checks what the plan says.
inline void planAndCheck(const std::uint8_t* data, std::size_t size, TableFormat format) {
    if (size == 0)
        return;
    const auto& tables = allTables();
    const TableDef& table = *tables[data[0] % tables.size()];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (formatOf(text) != format)
        return;
    const std::vector<std::uint8_t>& exe = executable();
    const ImportPlan plan = planImport(table, text, exe, &lists());
    if (!plan.error.empty())
        checkMessage(plan.error);
    for (const std::string& p : plan.problems)
        checkMessage(p);
    for (const std::string& n : plan.notes)
        checkMessage(n);
    if (!plan.ok()) {
        if (!plan.edits.empty() || !plan.changes.empty() || !plan.notes.empty())
            std::abort();  // a refused file plans nothing
        return;
    }
    // Every edit saves, and changes only bytes of the fields the plan lists for its entry.
    std::size_t listed = 0;
    for (const EntryEdit& e : plan.edits) {
        const auto from = exe.begin() + static_cast<std::ptrdiff_t>(table.entryOffset(e.index));
        const std::vector<std::uint8_t> before(from, from + table.size);
        std::vector<std::uint8_t> after = before;
        const SaveOutcome saved = applyEdits(after, table, e.shown, e.edited);
        if (!saved.ok())
            std::abort();
        std::vector<std::uint8_t> owned(before.size(), 0);
        for (const FieldChange& c : plan.changes) {
            if (c.index != e.index)
                continue;
            ++listed;
            if (c.before == c.after)
                std::abort();
            const FieldDef& f = table.fields[static_cast<std::size_t>(c.field)];
            for (int b = f.offset; b < f.offset + f.width; ++b)
                owned[static_cast<std::size_t>(b)] |= f.mask != 0 ? f.mask : 0xFF;
        }
        for (std::size_t b = 0; b < before.size(); ++b) {
            if (((before[b] ^ after[b]) & ~owned[b]) != 0)
                std::abort();
        }
    }
    if (listed != plan.changes.size())
        std::abort();  // a change without its edit
}

}  // namespace vorlan::fuzz
