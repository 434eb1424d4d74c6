#include "fields_command.h"

#include "columns.h"
#include "list_cache.h"
#include "targets.h"

namespace vorlan::cli {

namespace {

// "0 S  1 A  2 B", or where a name-list choice takes its items from.
std::string itemsLine(const Encoding& e) {
    if (e.nameList() != NameList::None) {
        return std::string("名称取自 ") + listFile(e.nameList()).name + "（" +
               std::to_string(e.itemCount()) + " 项）";
    }
    std::string line;
    const auto& items = e.items();
    for (std::size_t i = 0; i < items.size(); ++i)
        line += (i == 0 ? "" : "  ") + std::to_string(i) + " " + items[i];
    return line;
}

}  // namespace

void FieldsCommand::declare(CLI::App& sub) {
    sub.add_option("TABLE", table_, "Table name (see `tables`)")->required();
}

int FieldsCommand::run(const GlobalOptions&, std::ostream& out, std::ostream&) {
    const TableDef& table = parseTable(table_);
    if (table.fields.empty())
        throw Refusal("表「" + table.name + "」（" + table.caption + "）还没有字段定义。");

    std::vector<std::vector<std::string>> rows{
        {"key", "control", "caption", "offset", "width", "encoding"}};
    for (const FieldDef& f : table.fields) {
        std::string encoding = f.encoding->name();
        if (f.mask != 0) {
            const char* hex = "0123456789ABCDEF";
            encoding += std::string(" (bits ") + hex[f.mask >> 4] + hex[f.mask & 0x0F] + ")";
        }
        rows.push_back({f.key, f.control, f.fullCaption(), std::to_string(f.offset),
                        std::to_string(f.width), encoding});
    }
    const auto lines = alignColumns(rows);
    out << lines[0] << "\n";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        out << lines[i + 1] << "\n";
        // Items hang under their field rather than widen the columns.
        const Encoding& e = *table.fields[i].encoding;
        if (e.kind() == ValueKind::Choice || e.kind() == ValueKind::Marks)
            out << "    " << itemsLine(e) << "\n";
    }
    return kOk;
}

}  // namespace vorlan::cli
