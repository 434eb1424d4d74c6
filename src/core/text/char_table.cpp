#include "text/char_table.h"

#include <bit>
#include <cstring>

#include "text/utf8.h"

namespace vorlan {

namespace {

bool ascii4(std::string_view s) {
    if (s.size() != 4)
        return false;
    std::uint32_t w;
    std::memcpy(&w, s.data(), 4);
    return (w & 0x80808080u) == 0;
}

std::uint64_t pack4(const char* p) {
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}

// A character of one to four bytes as a key: its bytes and its length, so that no two differ
// only in trailing zero bytes.
std::uint64_t characterKey(std::string_view c) {
    std::uint32_t w = 0;
    std::memcpy(&w, c.data(), c.size());
    return w | static_cast<std::uint64_t>(c.size()) << 32;
}

}  // namespace

void CharTable::Index::reserve(std::size_t keys) {
    slots_.assign(std::bit_ceil(std::max<std::size_t>(16, keys * 2)), Slot{});
}

void CharTable::Index::put(std::uint64_t key, std::uint32_t entry) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = (key * 0x9E3779B97F4A7C15u >> 40) & mask;
    while (slots_[i].used && slots_[i].key != key)
        i = (i + 1) & mask;
    slots_[i] = {key, entry, true};
}

const std::uint32_t* CharTable::Index::find(std::uint64_t key) const {
    if (slots_.empty())
        return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = (key * 0x9E3779B97F4A7C15u >> 40) & mask;; i = (i + 1) & mask) {
        if (!slots_[i].used)
            return nullptr;
        if (slots_[i].key == key)
            return &slots_[i].entry;
    }
}

CharTable::CharTable(std::vector<std::string> entries) : entries_(std::move(entries)) {
    parts_.reserve(entries_.size());
    byCode_.reserve(entries_.size());
    byChar_.reserve(entries_.size());
    // Later entries replace earlier ones, so each index answers with the highest match.
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        const std::string_view e = entries_[k];
        Parts p;
        std::size_t count = 0;
        for (std::size_t i = 0, n = 0; i < e.size(); i += n, ++count) {
            n = utf8::characterLength(e, i);
            if (count < 4)
                p.codeEnd = static_cast<std::uint32_t>(i + n);
            p.lastStart = static_cast<std::uint32_t>(i);
            p.lastLength = static_cast<std::uint32_t>(n);
        }
        parts_.push_back(p);
        const auto entry = static_cast<std::uint32_t>(k);
        if (k < kDecodable) {
            const std::string_view code = e.substr(0, p.codeEnd);
            if (ascii4(code))
                byCode_.put(pack4(code.data()), entry);
            else
                byOtherCode_[std::string(code)] = entry;
        }
        if (p.lastLength != 0)
            byChar_.put(characterKey(e.substr(p.lastStart, p.lastLength)), entry);
    }
}

std::string_view CharTable::codeOfEntry(std::uint32_t k) const {
    return std::string_view(entries_[k]).substr(0, parts_[k].codeEnd);
}

std::string_view CharTable::lastOfEntry(std::uint32_t k) const {
    return std::string_view(entries_[k]).substr(parts_[k].lastStart, parts_[k].lastLength);
}

const std::uint32_t* CharTable::decodeGroup(std::string_view group) const {
    if (ascii4(group))
        return byCode_.find(pack4(group.data()));
    const auto it = byOtherCode_.find(std::string(group));
    return it == byOtherCode_.end() ? nullptr : &it->second;
}

std::string CharTable::decode(std::string_view codeText) const {
    std::string out;
    out.reserve(codeText.size());
    // Groups of four ASCII characters are four bytes; from the first group that is anything
    // else on, the rest is split into characters.
    std::size_t i = 0;
    for (; ascii4(codeText.substr(i, 4)); i += 4) {
        if (const std::uint32_t* k = byCode_.find(pack4(codeText.data() + i)))
            out += lastOfEntry(*k);
    }
    while (i < codeText.size()) {
        std::size_t end = i;
        for (int c = 0; c < 4 && end < codeText.size(); ++c)
            end += utf8::characterLength(codeText, end);
        if (const std::uint32_t* k = decodeGroup(codeText.substr(i, end - i)))
            out += lastOfEntry(*k);
        i = end;
    }
    return out;
}

std::optional<std::string> CharTable::codeOf(std::string_view character) const {
    if (character.empty() || character.size() > 4 ||
        utf8::characterLength(character, 0) != character.size())
        return std::nullopt;
    if (const std::uint32_t* k = byChar_.find(characterKey(character)))
        return std::string(codeOfEntry(*k));
    return std::nullopt;
}

CharTable::Lookup CharTable::lookup(std::string_view text) const {
    Lookup result;
    result.codes.reserve(text.size() * 4);
    for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
        n = utf8::characterLength(text, i);
        const std::string_view c = text.substr(i, n);
        const std::uint32_t* k = byChar_.find(characterKey(c));
        if (k == nullptr) {
            result.missing = std::string(c);
            result.codes.clear();
            return result;
        }
        result.codes += codeOfEntry(*k);
    }
    result.found = true;
    return result;
}

}  // namespace vorlan
