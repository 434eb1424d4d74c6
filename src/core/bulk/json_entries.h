#pragma once
// A whole-table JSON file ({"table": T, "entries": [{"index": I, "values": {KEY: VALUE}}]})
// read entry by entry from the parser's events, never as a whole document: memory stays
// that of one entry, nesting is bounded before it can exhaust a stack, a key given twice is
// caught (a document would keep one of them silently), and no value reaches a message but
// as a short excerpt.

#include <cstddef>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// Deepest nesting read. An export nests five deep (document, entries, entry, values, a
// list's marks); anything near this is no table file.
inline constexpr std::size_t kMaxJsonDepth = 64;

// One member of an entry: "index", "unit" or "slot", or a member of "values".
struct JsonMember {
    std::string key;
    nlohmann::json value;   // null when `tooLarge`
    bool tooLarge = false;  // a string or a list longer than any field holds
    // A number with a point, an exponent or beyond 64 bits, as the file spells it
    // ("12345.0000000000001"), for messages: its value may be a double that reads otherwise.
    std::string spelled{};
};

struct JsonEntry {
    std::size_t number = 0;          // 1 for the first entry
    std::string problem;             // why the entry cannot be read at all, else empty
    std::vector<JsonMember> ids;     // "index", "unit", "slot"
    std::vector<JsonMember> values;  // the members of "values", in file order
};

struct JsonTableFile {
    bool hasTable = false;     // "table" was given
    bool tableIsText = false;  // … as a string, namely `table`
    std::string table;
    std::string error;  // the text is not such a file at all, in Chinese
    // A number beyond what any reader holds ("1e400") ends the reading where it stands:
    // the entry (1 for the first), the member and the number as spelled. Entry 0: none.
    JsonMember overflow;
    std::size_t overflowEntry = 0;
};

// Reads `text`, handing each entry to `onEntry` as soon as it is complete (entries given
// before an error are handed over too).
JsonTableFile readJsonTable(std::string_view text,
                            const std::function<void(const JsonEntry&)>& onEntry);

// A value as a message quotes it, at most a short line: scalars as JSON, strings as their
// text, lists with their first items, nested lists and objects as "[…]" and "{…}".
std::string jsonExcerpt(const nlohmann::json& value);

}  // namespace vorlan
