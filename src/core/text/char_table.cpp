#include "text/char_table.h"

#include "text/utf8.h"

namespace vorlan {

namespace {

// The first four characters of an entry (the whole entry when it is shorter).
std::string head(const std::vector<std::string>& chars) {
    std::string out;
    for (std::size_t i = 0; i < chars.size() && i < 4; ++i)
        out += chars[i];
    return out;
}

}  // namespace

CharTable::CharTable(std::vector<std::string> entries) : entries_(std::move(entries)) {
    // Later entries overwrite earlier ones, so each index answers with the highest match.
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        const auto chars = utf8::characters(entries_[k]);
        const std::string code = head(chars);
        const std::string last = chars.empty() ? std::string() : chars.back();
        if (k < kDecodable)
            byCode_[code] = last;
        if (!last.empty())
            byChar_[last] = code;
    }
}

std::string CharTable::decode(std::string_view codeText) const {
    std::string out;
    const auto chars = utf8::characters(codeText);
    for (std::size_t i = 0; i < chars.size(); i += 4) {
        std::string group;
        for (std::size_t j = i; j < chars.size() && j < i + 4; ++j)
            group += chars[j];
        const auto it = byCode_.find(group);
        if (it != byCode_.end())
            out += it->second;
    }
    return out;
}

std::optional<std::string> CharTable::codeOf(std::string_view character) const {
    const auto it = byChar_.find(std::string(character));
    if (it == byChar_.end())
        return std::nullopt;
    return it->second;
}

CharTable::Lookup CharTable::lookup(std::string_view text) const {
    Lookup result;
    for (const std::string& c : utf8::characters(text)) {
        const auto code = codeOf(c);
        if (!code) {
            result.missing = c;
            result.codes.clear();
            return result;
        }
        result.codes += *code;
    }
    result.found = true;
    return result;
}

}  // namespace vorlan
