#include "schema/name_bytes.h"

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
        const auto at = static_cast<std::size_t>(f.offset + b);
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

}  // namespace vorlan
