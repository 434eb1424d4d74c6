#include "text/char_table.h"

#include "text/utf8.h"

#include <bit>
#include <cstring>

namespace vorlan {

namespace {

// The first four characters of an entry (the whole entry when it is shorter).
std::string head(const std::vector<std::string>& chars) {
    std::string out;
    for (std::size_t i = 0; i < chars.size() && i < 4; ++i)
        out += chars[i];
    return out;
}

bool ascii4(const char* p) {
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    return (w & 0x80808080u) == 0;
}

std::uint32_t pack(const char* p) {
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}

std::size_t hashOf(std::uint32_t key, std::size_t mask) {
    return (key * 0x9E3779B1u >> 7) & mask;
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
    // The fast index holds the decodable codes of four ASCII characters, with what the
    // string index answers for them (the highest entry).
    slots_.assign(std::bit_ceil(std::max<std::size_t>(16, byCode_.size() * 2)), Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const auto& [code, last] : byCode_) {
        if (code.size() != 4 || !ascii4(code.data()))
            continue;
        lasts_.push_back(last);
        std::size_t i = hashOf(pack(code.data()), mask);
        while (slots_[i].last != 0)
            i = (i + 1) & mask;
        slots_[i] = {pack(code.data()), static_cast<std::uint32_t>(lasts_.size())};
    }
}

const std::string* CharTable::find(std::uint32_t key) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hashOf(key, mask);; i = (i + 1) & mask) {
        if (slots_[i].last == 0)
            return nullptr;
        if (slots_[i].key == key)
            return &lasts_[slots_[i].last - 1];
    }
}

std::string CharTable::decode(std::string_view codeText) const {
    std::string out;
    if (slots_.empty())
        return out;
    out.reserve(codeText.size());
    // Whole groups of four ASCII characters go through the packed index; from the first
    // group that is anything else on, the rest is split into characters.
    std::size_t i = 0;
    for (; i + 4 <= codeText.size() && ascii4(codeText.data() + i); i += 4) {
        if (const std::string* last = find(pack(codeText.data() + i)))
            out += *last;
    }
    if (i < codeText.size())
        out += decodeSlowly(codeText.substr(i));
    return out;
}

std::string CharTable::decodeSlowly(std::string_view codeText) const {
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
