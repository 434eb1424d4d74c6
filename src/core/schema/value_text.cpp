#include "schema/value_text.h"

#include "schema/name_source.h"
#include "schema/number_text.h"
#include "text/shown_text.h"

namespace vorlan {

std::string itemName(const FieldDef& f, int index, NameSource* names) {
    if (index < 0)
        return {};
    const auto i = static_cast<std::size_t>(index);
    const NameList list = f.encoding->nameList();
    if (list != NameList::None) {
        const auto* items = names != nullptr ? names->names(list) : nullptr;
        return items != nullptr && i < items->size() ? (*items)[i] : std::string();
    }
    const auto& items = f.encoding->items();
    return i < items.size() ? items[i] : std::string();
}

std::string valueText(const FieldDef& f, const FieldValue& v, NameSource* names) {
    switch (f.encoding->kind()) {
        case ValueKind::Text:
            return v.text.empty() ? "（空）" : v.text;
        case ValueKind::Choice: {
            if (v.index < 0)
                return v.text;
            const std::string item = itemName(f, v.index, names);
            return item.empty() ? "第" + std::to_string(v.index) + "项" : item;
        }
        case ValueKind::Marks: {
            std::string out;
            for (int m : v.marks) {
                std::string item = itemName(f, m, names);
                out += (out.empty() ? "" : "、") + (item.empty() ? std::to_string(m) : item);
            }
            return out.empty() ? "（无）" : out;
        }
        case ValueKind::Toggle:
            return v.on ? "开" : "关";
    }
    return {};
}

std::string storedNumberNote(std::string_view typed, std::string_view stored) {
    const auto number = textToNumber(typed);
    const bool rounded = roundsFraction(typed);
    if (!number || (!rounded && textToNumber(stored) == number))
        return {};
    return std::string(stored) + "（输入 " + excerpt(typed) + (rounded ? "，已取整" : "") + "）";
}

}  // namespace vorlan
