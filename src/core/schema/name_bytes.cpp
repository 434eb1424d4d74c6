#include "schema/name_bytes.h"

#include "access/field_access.h"
#include "text/shown_text.h"

namespace vorlan {

std::string clearedNameBytes(const FieldDef& f, const FieldValue& shown,
                             std::span<const std::uint8_t> before,
                             std::span<const std::uint8_t> after) {
    if (f.encoding->name() != "name-code")
        return {};
    // Bytes past the text that was shown: the user never saw them.
    const int shownBytes = (static_cast<int>(shown.text.size()) + 1) / 2;
    int first = -1;
    int last = -1;
    int count = 0;
    for (int b = shownBytes; b < f.width; ++b) {
        const auto at = static_cast<std::size_t>(f.offset) + static_cast<std::size_t>(b);
        if (before[at] != 0 && after[at] == 0) {
            first = first < 0 ? b : first;
            last = b;
            ++count;
        }
    }
    if (count == 0)
        return {};
    return "「" + f.fullCaption() + "」：显示的名称在第 " + std::to_string(shownBytes) +
           " 字节后被截断，写入会把后面 " + std::to_string(count) +
           " 个原来不是 00 的字节（名称内第 " + std::to_string(first + 1) + "–" +
           std::to_string(last + 1) + " 字节）清为 00";
}

std::string nameCodeNote(const FieldDef& f, std::string_view given) {
    if (f.encoding->name() != "name-code")
        return {};
    // As parsing and the encoding take it: blanks around and a "0x" prefix dropped.
    while (!given.empty() && given.front() == ' ')
        given.remove_prefix(1);
    while (!given.empty() && given.back() == ' ')
        given.remove_suffix(1);
    if (given.starts_with("0x") || given.starts_with("0X"))
        given.remove_prefix(2);
    const auto digits = 2 * static_cast<std::size_t>(f.width);
    const std::string field = "「" + f.fullCaption() + "」";
    if (given.size() > digits) {
        return field + "只有 " + std::to_string(f.width) + " 字节（" + std::to_string(digits) +
               " 位），输入的第 " + std::to_string(digits + 1) + " 位起的 " +
               std::to_string(given.size() - digits) + " 位没有写入：" +
               excerpt(given.substr(digits));
    }
    if (given.size() % 2 == 1) {
        return field + "输入的字码有 " + std::to_string(given.size()) +
               " 位，不是整字节，末尾补 0 写入：" + excerpt(std::string(given) + "0");
    }
    return {};
}

std::string storedNameCode(const FieldDef& f, const std::string& typed) {
    ByteStore store(std::vector<std::uint8_t>(static_cast<std::size_t>(f.width)));
    FieldDef here = f;
    here.offset = 0;
    FieldAccess fa(store);
    try {
        if (!f.encoding->write(fa, here, FieldValue::ofText(typed)))
            return typed;
    } catch (const RangeError&) {
        return typed;
    }
    fa.curpos = 1;
    return f.encoding->read(fa, here).text;
}

}  // namespace vorlan
