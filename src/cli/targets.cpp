#include "targets.h"

#include "bulk/change_text.h"

#include <charconv>
#include <optional>
#include <sstream>

#include "command.h"
#include "tables/catalog.h"

namespace vorlan::cli {

namespace {

// A plain decimal number (digits only) below `limit`.
std::optional<int> number(const std::string& text, int limit) {
    // Digits only: "-0", "+3" and "03x" are not entry numbers.
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 0 || value >= limit)
        return std::nullopt;
    return value;
}

}  // namespace

const TableDef& parseTable(const std::string& name) {
    if (const TableDef* t = findTable(name))
        return *t;
    std::string known;
    for (const TableDef* t : allTables())
        known += (known.empty() ? "" : ", ") + t->name;
    throw Refusal("没有名为「" + name + "」的表。可用的表：" + known);
}

int parseIndex(const TableDef& table, const std::string& text) {
    if (table.perGroup > 0) {
        const int groups = table.count / table.perGroup;
        const auto colon = text.find(':');
        if (colon != std::string::npos) {
            const auto group = number(text.substr(0, colon), groups);
            const auto slot = number(text.substr(colon + 1), table.perGroup);
            if (group && slot)
                return *group * table.perGroup + *slot;
        }
        throw Refusal("序号「" + text + "」无效：" + table.caption +
                      "的序号应写成 机体:槽位，机体为 0 到 " + std::to_string(groups - 1) +
                      "，槽位为 0 到 " + std::to_string(table.perGroup - 1) + "（例如 5:2）。");
    }
    if (const auto index = number(text, table.count))
        return *index;
    throw Refusal("序号「" + text + "」无效：" + table.caption + "的序号应为 0 到 " +
                  std::to_string(table.count - 1) + " 之间的整数。");
}

std::string indexText(const TableDef& table, int index) {
    return entryIndexText(table, index);
}

std::string hexOffset(std::uint32_t offset) {
    std::ostringstream s;
    s << std::uppercase << std::hex << offset;
    return s.str();
}

}  // namespace vorlan::cli
