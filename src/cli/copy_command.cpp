#include "cli/copy_command.h"

#include "access/record_io.h"
#include "cli/executable.h"
#include "cli/list_cache.h"
#include "cli/targets.h"

namespace vorlan::cli {

namespace {

// The tables whose records the editor copies whole, and the list that names their records.
struct Copyable {
    const char* table;
    NameList names;
};
constexpr Copyable kCopyable[] = {
    {"unit", NameList::Units},
};

const Copyable& copyable(const std::string& name) {
    std::string known;
    for (const Copyable& c : kCopyable) {
        if (name == c.table)
            return c;
        known += (known.empty() ? "" : ", ") + std::string(c.table);
    }
    throw Refusal("表「" + name + "」不能整条复制。可以复制的表：" + known);
}

}  // namespace

void CopyCommand::declare(CLI::App& sub) {
    sub.add_option("TABLE", table_, "Table name: unit")->required();
    sub.add_option("FROM", from_, "Record to copy")->required();
    sub.add_option("TO", to_, "Record to overwrite")->required();
}

int CopyCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream& err) {
    const Copyable& kind = copyable(table_);
    const TableDef& table = parseTable(kind.table);
    const int from = parseIndex(table, from_);
    const int to = parseIndex(table, to_);

    std::vector<std::uint8_t> source;
    bool same = false;
    {
        const auto file = openForReading(options);
        source = readEntryBytes(*file, table, from);
        same = readEntryBytes(*file, table, to) == source;
    }
    ListCache lists(options.dataDir);
    const auto* names = lists.names(kind.names);
    const auto name = [&](int index) {
        const auto i = static_cast<std::size_t>(index);
        return names != nullptr && i < names->size() ? (*names)[i]
                                                     : table.caption + " " + std::to_string(index);
    };
    if (same) {
        out << name(to) << "的数据已经与" << name(from) << "相同，没有写入任何内容。\n";
        return kOk;
    }
    const auto file = openForWriting(options, err);
    writeEntryBytes(*file, table, to, source);
    out << "已经把" << name(from) << "的数据粘贴到" << name(to) << "上\n";
    return kOk;
}

}  // namespace vorlan::cli
