#include "get_command.h"

#include "columns.h"
#include "targets.h"
#include "text/shown_text.h"
#include "value_format.h"

namespace vorlan::cli {

void GetCommand::declare(CLI::App& sub) {
    sub.add_option("TABLE", table_, "Table name (see `tables`)")->required();
    sub.add_option("INDEX", index_, "Entry number; weapon slots as UNIT:SLOT, e.g. 5:2")
        ->required();
    sub.add_flag("--json", json_, "Print the record as JSON");
}

int GetCommand::runOn(Session& session, std::ostream& out, std::ostream&) {
    const TableDef& table = parseTable(table_);
    const int index = parseIndex(table, index_);
    if (table.fields.empty())
        throw Refusal("表「" + table.name + "」（" + table.caption + "）还没有字段定义。");
    const auto values = session.editor.show(table, index).values;
    const std::string offset = hexOffset(table.entryOffset(index));
    ListCache& lists = session.lists;

    if (json_) {
        nlohmann::ordered_json record = {{"table", table.name}};
        if (table.perGroup > 0)
            record["index"] = indexText(table, index);
        else
            record["index"] = index;
        record["label"] = table.label(index, &lists);
        record["offset"] = offset;
        record["fields"] = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < values.size(); ++i)
            record["fields"].push_back(jsonField(table.fields[i], values[i], lists));
        out << record.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
            << "\n";
        return kOk;
    }

    // The editor's label beside the index: the weapon slot shown as "武器2" is `weapon 3:1`.
    // Labels and decoded names come from files: their control characters are shown as codes.
    out << table.name << " " << indexText(table, index) << "  "
        << escapeControls(table.label(index, &lists)) << "（" << table.caption << "）  offset 0x"
        << offset << "\n";
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const FieldDef& f = table.fields[i];
        rows.push_back({f.key, f.control, f.fullCaption(),
                        escapeControls(describeValue(f, values[i], lists))});
    }
    for (const std::string& line : alignColumns(rows))
        out << "  " << line << "\n";
    return kOk;
}

}  // namespace vorlan::cli
