#pragma once
// The character table of the game's two-byte text code. Entry k begins with the code as
// four hexadecimal digits in stored order and ends with the character it stands for.
//
// Decoding looks a four-digit group up among entries 0 … 7239 only; the lookup of a
// character searches all entries. In both, when several entries match, the highest index
// wins. Matching is exact and case-sensitive. Both are answered from indexes built once
// when the table is loaded, giving the same results as scanning the entries in order.
// Codes of four ASCII characters (every code the game uses) are packed into one 32-bit
// key in an open-addressed table, so a name decodes without building a string per group.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlan {

class CharTable {
public:
    static constexpr std::size_t kEntries = 7302;
    static constexpr std::size_t kDecodable = 7240;
    // Longest code text to decode or text to look up, in characters.
    static constexpr std::size_t kMaxText = 255;

    CharTable() = default;
    explicit CharTable(std::vector<std::string> entries);

    bool empty() const { return entries_.empty(); }
    const std::vector<std::string>& entries() const { return entries_; }

    // The characters of the code text, group by group; groups without an entry add nothing.
    std::string decode(std::string_view codeText) const;

    struct Lookup {
        bool found = false;
        std::string codes;    // the code text, when every character was found
        std::string missing;  // the first character without an entry
    };
    // The code text of `text`, or the first character that has no entry.
    Lookup lookup(std::string_view text) const;
    // The code of one character (the entry with the highest index), if any.
    std::optional<std::string> codeOf(std::string_view character) const;

private:
    // The character for a packed four-byte code, or nullptr.
    const std::string* find(std::uint32_t key) const;
    std::string decodeSlowly(std::string_view codeText) const;

    std::vector<std::string> entries_;
    struct Slot {
        std::uint32_t key = 0;
        std::uint32_t last = 0;  // 1 + index into lasts_; 0 marks a free slot
    };
    std::vector<Slot> slots_;  // a power of two, at most half full
    std::vector<std::string> lasts_;
    std::unordered_map<std::string, std::string>
        byCode_;  // first four characters -> last character
    std::unordered_map<std::string, std::string>
        byChar_;  // last character -> first four characters
};

}  // namespace vorlan
