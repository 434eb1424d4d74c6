#include "value_format.h"

namespace vorlan::cli {

std::string describeValue(const FieldDef& f, const FieldValue& v, ListCache& lists) {
    switch (f.encoding->kind()) {
        case ValueKind::Text:
            if (isNameCode(f))
                return v.text + "  「" + lists.charTable().decode(v.text) + "」";
            return v.text;
        case ValueKind::Choice: {
            if (v.index < 0)
                return "-1  （存储值 " + v.text + " 没有对应的项）";
            const auto item = itemText(f, v.index, lists);
            return std::to_string(v.index) + (item ? "  " + *item : "");
        }
        case ValueKind::Marks: {
            std::string names;
            for (int m : v.marks) {
                const auto item = itemText(f, m, lists);
                names += (names.empty() ? "" : "、") + (item ? *item : std::to_string(m));
            }
            return v.marks.empty() ? "（无）" : fieldText(f, v) + "  " + names;
        }
        case ValueKind::Toggle:
            return v.on ? "1" : "0";
    }
    return {};
}

nlohmann::ordered_json jsonField(const FieldDef& f, const FieldValue& v, ListCache& lists) {
    nlohmann::ordered_json j = {{"key", f.key},
                                {"control", f.control},
                                {"caption", f.fullCaption()},
                                {"value", fieldJson(f, v)}};
    if (f.encoding->kind() == ValueKind::Choice && v.index < 0)
        j["raw"] = std::stoull(v.text);
    if (isNameCode(f))
        j["decoded"] = lists.charTable().decode(v.text);
    return j;
}

}  // namespace vorlan::cli
