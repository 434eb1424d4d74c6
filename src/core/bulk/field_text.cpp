#include "bulk/field_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "schema/record_io.h"
#include "text/shown_text.h"

namespace vorlan {

namespace {

std::string joinMarks(const std::vector<int>& marks) {
    std::string out;
    for (int m : marks)
        out += (out.empty() ? "" : ",") + std::to_string(m);
    return out;
}

// A decimal number of digits only, optionally preceded by "-".
std::optional<int> integer(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '+' || ec != std::errc{} || ptr != end)
        return std::nullopt;
    return value;
}

ParsedValue refused(const FieldDef& f, const std::string& hint = "") {
    return {std::nullopt, refusalMessage(f) + hint};
}

ParsedValue parseChoice(const FieldDef& f, std::string_view text, const FieldValue& shown,
                        NameSource* names) {
    if (const auto index = integer(text)) {
        // A stored value without an item is kept as it stands, given as -1 or as itself.
        if (shown.index < 0 && (*index == -1 || text == shown.text))
            return {shown, {}};
        return {FieldValue::ofChoice(*index), {}};
    }
    const std::vector<std::string>* items = &f.encoding->items();
    if (f.encoding->nameList() != NameList::None)
        items = names != nullptr ? names->names(f.encoding->nameList()) : nullptr;
    if (items != nullptr) {
        const auto count =
            std::min(items->size(), static_cast<std::size_t>(f.encoding->itemCount()));
        for (std::size_t i = 0; i < count; ++i) {
            if ((*items)[i] == text)
                return {FieldValue::ofChoice(static_cast<int>(i)), {}};
        }
    }
    return {std::nullopt,
            "「" + f.fullCaption() + "」没有名为「" + excerpt(text) + "」的项。" + choiceHint(f)};
}

ParsedValue parseMarks(const FieldDef& f, std::string_view text) {
    std::vector<int> marks;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto comma = std::min(text.find(',', start), text.size());
        const auto mark = integer(text.substr(start, comma - start));
        if (!mark || *mark < 0 || comma + 1 == text.size())
            return refused(f);
        marks.push_back(*mark);
        start = comma + 1;
    }
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    return {FieldValue::ofMarks(std::move(marks)), {}};
}

}  // namespace

bool isNameCode(const FieldDef& f) {
    return f.encoding->name() == "name-code";
}

bool isDecimalNumber(const FieldDef& f) {
    const std::string name = f.encoding->name();
    return name == "decimal" || name == "signed";
}

bool isHexText(const FieldDef& f) {
    const std::string name = f.encoding->name();
    return name == "name-code" || name == "hex" || name == "hex-run";
}

std::string fieldText(const FieldDef& f, const FieldValue& v, HexStyle hex) {
    switch (f.encoding->kind()) {
        case ValueKind::Text:
            return hex == HexStyle::Prefixed && isHexText(f) ? "0x" + v.text : v.text;
        case ValueKind::Choice:
            return v.index < 0 ? v.text : std::to_string(v.index);
        case ValueKind::Marks:
            return joinMarks(v.marks);
        case ValueKind::Toggle:
            return v.on ? "1" : "0";
    }
    return {};
}

nlohmann::ordered_json fieldJson(const FieldDef& f, const FieldValue& v) {
    switch (f.encoding->kind()) {
        case ValueKind::Text:
            if (isDecimalNumber(f)) {
                // A number for jq and scripts; the engine only ever shows digits here.
                std::int64_t n = 0;
                const char* end = v.text.data() + v.text.size();
                if (const auto [ptr, ec] = std::from_chars(v.text.data(), end, n);
                    ec == std::errc{} && ptr == end && !v.text.empty()) {
                    return n;
                }
            }
            return v.text;
        case ValueKind::Choice:
            return v.index;
        case ValueKind::Marks:
            return v.marks;
        case ValueKind::Toggle:
            return v.on ? 1 : 0;
    }
    return nullptr;
}

std::string choiceHint(const FieldDef& f) {
    // Front-end neutral: the command line adds where to see the items.
    return "可用项的编号 0 到 " + std::to_string(f.encoding->itemCount() - 1) + "，或项的文字。";
}

ParsedValue parseFieldText(const FieldDef& f, std::string_view text, const FieldValue& shown,
                           NameSource* names) {
    switch (f.encoding->kind()) {
        case ValueKind::Text:
            if (isHexText(f) && (text.starts_with("0x") || text.starts_with("0X")))
                text.remove_prefix(2);
            return {FieldValue::ofText(std::string(text)), {}};
        case ValueKind::Choice:
            return parseChoice(f, text, shown, names);
        case ValueKind::Marks:
            return parseMarks(f, text);
        case ValueKind::Toggle:
            if (text != "0" && text != "1")
                return refused(f);
            return {FieldValue::ofToggle(text == "1"), {}};
    }
    return refused(f);
}

ParsedValue parseFieldJson(const FieldDef& f, const nlohmann::json& v, const FieldValue& shown,
                           NameSource* names) {
    switch (f.encoding->kind()) {
        case ValueKind::Text:
            if (v.is_string())
                return parseFieldText(f, v.get_ref<const std::string&>(), shown, names);
            if (!isDecimalNumber(f))
                return refused(f, "（应为字符串，例如 \"0E\"）");
            // A number, or a numeric string as older exports wrote; the engine checks range.
            if (v.is_number_unsigned())
                return parseFieldText(f, std::to_string(v.get<std::uint64_t>()), shown, names);
            if (v.is_number_integer())
                return parseFieldText(f, std::to_string(v.get<std::int64_t>()), shown, names);
            // A number the reader kept as a float is not exactly an integer.
            return refused(f, "（应为整数）");
        case ValueKind::Choice:
            if (v.is_string())
                return parseFieldText(f, v.get_ref<const std::string&>(), shown, names);
            if (!v.is_number_integer() || v.get<long long>() < -1 ||
                v.get<long long>() > 1'000'000) {
                return refused(f, choiceHint(f));
            }
            return parseFieldText(f, std::to_string(v.get<long long>()), shown, names);
        case ValueKind::Marks: {
            if (!v.is_array() || v.size() > 64)
                return refused(f, "（应为编号的数组）");
            std::string text;
            for (const auto& m : v) {
                if (!m.is_number_integer() || m.get<long long>() < 0 || m.get<long long>() > 64)
                    return refused(f);
                text += (text.empty() ? "" : ",") + std::to_string(m.get<long long>());
            }
            return parseMarks(f, text);
        }
        case ValueKind::Toggle:
            if (!v.is_number_integer() || (v.get<long long>() != 0 && v.get<long long>() != 1))
                return refused(f);
            return {FieldValue::ofToggle(v.get<long long>() == 1), {}};
    }
    return refused(f);
}

}  // namespace vorlan
