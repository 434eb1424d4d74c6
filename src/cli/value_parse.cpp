#include "cli/value_parse.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "access/record_io.h"
#include "cli/command.h"

namespace vorlan::cli {

namespace {

// A decimal number of digits only, optionally preceded by "-".
std::optional<int> integer(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '+' || ec != std::errc{} || ptr != end)
        return std::nullopt;
    return value;
}

[[noreturn]] void refuse(const FieldDef& f, const std::string& hint = "") {
    throw Refusal(refusalMessage(f) + hint);
}

FieldValue parseChoice(const FieldDef& f, const std::string& text, const FieldValue& shown,
                       ListCache& lists) {
    if (const auto index = integer(text)) {
        if (*index == -1 && shown.index < 0)
            return shown;
        return FieldValue::ofChoice(*index);
    }
    const auto& items = f.encoding->nameList() == NameList::None
                            ? f.encoding->items()
                            : lists.requireNames(f.encoding->nameList());
    const auto count = std::min(items.size(), static_cast<std::size_t>(f.encoding->itemCount()));
    for (std::size_t i = 0; i < count; ++i) {
        if (items[i] == text)
            return FieldValue::ofChoice(static_cast<int>(i));
    }
    throw Refusal("「" + f.fullCaption() + "」没有名为「" + text + "」的项。" + choiceHint(f));
}

FieldValue parseMarks(const FieldDef& f, const std::string& text) {
    std::vector<int> marks;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto comma = std::min(text.find(',', start), text.size());
        const auto mark = integer(text.substr(start, comma - start));
        if (!mark || *mark < 0)
            refuse(f);
        marks.push_back(*mark);
        start = comma + 1;
        if (comma + 1 == text.size())
            refuse(f);  // a trailing comma
    }
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    return FieldValue::ofMarks(std::move(marks));
}

}  // namespace

std::string choiceHint(const FieldDef& f) {
    return "可用项的编号 0 到 " + std::to_string(f.encoding->itemCount() - 1) +
           "，或项的文字（用 fields 命令查看各项）。";
}

FieldValue parseValue(const FieldDef& f, const std::string& text, const FieldValue& shown,
                      ListCache& lists) {
    switch (f.encoding->kind()) {
        case ValueKind::Text:
            return FieldValue::ofText(text);
        case ValueKind::Choice:
            return parseChoice(f, text, shown, lists);
        case ValueKind::Marks:
            return parseMarks(f, text);
        case ValueKind::Toggle:
            if (text != "0" && text != "1")
                refuse(f);
            return FieldValue::ofToggle(text == "1");
    }
    refuse(f);
}

}  // namespace vorlan::cli
