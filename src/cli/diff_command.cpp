#include "diff_command.h"

#include <nlohmann/json.hpp>

#include "bulk/change_text.h"
#include "bulk/diff.h"
#include "bulk/field_text.h"
#include "bulk/table_io.h"
#include "io/path_text.h"
#include "table_files.h"
#include "targets.h"

namespace vorlan::cli {

void DiffCommand::declare(CLI::App& sub) {
    sub.add_option("OTHER", other_, "The executable to compare with (\"new\")")->required();
    sub.add_flag("--json", json_, "Print the differences as JSON");
}

int DiffCommand::runOn(Session& session, std::ostream& out, std::ostream&) {
    const std::vector<std::uint8_t> mine = wholeFile(*session.document);
    const ExecutableDiff diff =
        diffExecutables(mine, otherExecutable(textPath(other_), mine.size()));
    if (json_) {
        nlohmann::ordered_json changes = nlohmann::ordered_json::array();
        for (const FieldChange& c : diff.changes) {
            const ChangeText t = describeChange(c, &session.lists);
            const FieldDef& f = c.table->fields[static_cast<std::size_t>(c.field)];
            // Values as export writes them (numbers as numbers), and as the editor shows them.
            nlohmann::ordered_json change = {{"table", t.table}};
            if (bySlot(*c.table)) {
                change["unit"] = c.index / c.table->perGroup;
                change["slot"] = c.index % c.table->perGroup;
            } else {
                change["index"] = c.index;
            }
            change.update({{"label", t.label},
                           {"key", t.key},
                           {"caption", t.caption},
                           {"old", fieldJson(f, c.before)},
                           {"new", fieldJson(f, c.after)},
                           {"old-shown", t.before},
                           {"new-shown", t.after}});
            changes.push_back(std::move(change));
        }
        nlohmann::ordered_json other = nlohmann::ordered_json::array();
        for (const ByteRange& r : diff.other)
            other.push_back({{"offset", hexOffset(static_cast<std::uint32_t>(r.offset))},
                             {"length", r.length}});
        const nlohmann::ordered_json doc = {{"changes", std::move(changes)},
                                            {"other", std::move(other)}};
        out << doc.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return kOk;
    }
    std::string table;
    for (const FieldChange& c : diff.changes) {
        const ChangeText t = describeChange(c, &session.lists);
        if (t.table != table) {
            table = t.table;
            out << "== " << c.table->caption << "（" << t.table << "）\n";
        }
        out << "  " << t.index << " " << t.label << "  " << t.caption << "：" << t.before << " → "
            << t.after << "\n";
    }
    if (!diff.other.empty()) {
        out << "== 不属于任何字段的字节（编辑器从不写这些字节）\n";
        for (const ByteRange& r : diff.other) {
            out << "  偏移 0x" << hexOffset(static_cast<std::uint32_t>(r.offset)) << "，"
                << r.length << " 字节\n";
        }
    }
    if (diff.changes.empty() && diff.other.empty())
        out << "两个文件相同。\n";
    return kOk;
}

}  // namespace vorlan::cli
