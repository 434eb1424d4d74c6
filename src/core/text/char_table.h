#pragma once
// The character table of the game's two-byte text code. Entry k begins with the code as
// four hexadecimal digits in stored order and ends with the character it stands for.
//
// Decoding looks a four-digit group up among entries 0 … 7239 only; the lookup of a
// character searches all entries. In both, when several entries match, the highest index
// wins. Matching is exact and case-sensitive. Both are answered from indexes built once
// when the table is loaded, giving the same results as scanning the entries in order.
// Codes of four ASCII characters (every code the game uses) and characters are packed into
// integer keys of open-addressed tables, so a name decodes and encodes without building a
// string per character.

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
    // Integer keys to entry indexes; a later insert of a key replaces the earlier entry.
    class Index {
    public:
        void reserve(std::size_t keys);
        void put(std::uint64_t key, std::uint32_t entry);
        const std::uint32_t* find(std::uint64_t key) const;

    private:
        struct Slot {
            std::uint64_t key = 0;
            std::uint32_t entry = 0;
            bool used = false;
        };
        std::vector<Slot> slots_;  // a power of two, at most half full
    };
    // Where an entry's code (its first four characters) ends and its last character lies.
    struct Parts {
        std::uint32_t codeEnd = 0;
        std::uint32_t lastStart = 0;
        std::uint32_t lastLength = 0;
    };

    std::string_view codeOfEntry(std::uint32_t k) const;
    std::string_view lastOfEntry(std::uint32_t k) const;
    const std::uint32_t* decodeGroup(std::string_view group) const;

    std::vector<std::string> entries_;
    std::vector<Parts> parts_;
    Index byCode_;  // decodable codes of four ASCII characters
    std::unordered_map<std::string, std::uint32_t> byOtherCode_;  // any other decodable code
    Index byChar_;  // last character (its bytes and length) -> highest entry
};

}  // namespace vorlan
