#include "bulk/json_entries.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>

#include "text/shown_text.h"

namespace vorlan {

namespace {

using Json = nlohmann::json;

// Larger than any field's value, as the CSV reader's limits.
constexpr std::size_t kMaxString = 4096;
constexpr std::size_t kMaxItems = 256;

const char* const kShape = "JSON 应为 {\"table\": …, \"entries\": […]}";
const char* const kEntryShape = "应为 {\"index\": …, \"values\": {…}}";

// The value of a JSON number's text when it is exactly an integer that fits in 64 bits
// ("12345", "12345.000", "1.2345e4"), read from the digits, never through a double: "1e-400"
// or "12345.0000000000001" is not an integer, whatever a double would round it to.
std::optional<std::int64_t> exactInteger(const std::string& text) {
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative)
        ++i;
    std::string digits;
    long long scale = 0;  // the value is digits × 10^scale
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        digits += text[i];
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            digits += text[i];
            --scale;
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool down = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        long long exponent = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000LL);
        scale += down ? -exponent : exponent;
    }
    if (i != text.size() || digits.empty())
        return std::nullopt;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty())
        return 0;
    for (; scale < 0 && digits.back() == '0'; ++scale)
        digits.pop_back();
    if (scale < 0 || digits.size() + static_cast<std::size_t>(scale) > 18)
        return std::nullopt;  // a fraction, or beyond any field's range
    std::int64_t value = 0;
    for (const char d : digits)
        value = value * 10 + (d - '0');
    for (; scale > 0; --scale)
        value *= 10;
    return negative ? -value : value;
}

bool isId(const std::string& key) {
    return key == "index" || key == "unit" || key == "slot";
}

// What each open object or list is, seen from the file's shape.
enum class Level { Top, Entries, Entry, Values, Capture, Skip };

// The parser's events (nlohmann's SAX interface) turned into entries.
class Reader {
public:
    explicit Reader(const std::function<void(const JsonEntry&)>& onEntry) : onEntry_(onEntry) {}

    JsonTableFile file;

    bool null() { return scalar(nullptr); }
    bool boolean(bool v) { return scalar(v); }
    bool number_integer(Json::number_integer_t v) { return scalar(v); }
    bool number_unsigned(Json::number_unsigned_t v) { return scalar(v); }
    bool number_float(Json::number_float_t v, const std::string& text) {
        if (const auto whole = exactInteger(text))
            return scalar(static_cast<Json::number_integer_t>(*whole), text);
        return scalar(v, text);
    }
    bool string(std::string& v) { return scalar(std::move(v)); }
    bool binary(Json::binary_t&) { return scalar(nullptr); }  // never from JSON text
    bool start_object(std::size_t) { return open(true); }
    bool start_array(std::size_t) { return open(false); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(std::string& k) {
        switch (levels_.back()) {
            case Level::Top:
                if ((k == "table" || k == "entries") && !topKeys_.insert(k).second)
                    return fail("JSON 中「" + k + "」出现了不止一次");
                break;
            case Level::Entry:
                if (!entryKeys_.insert(k).second)
                    entryProblem("「" + excerpt(k) + "」出现了不止一次");
                break;
            case Level::Values:
                if (!valueKeys_.insert(k).second)
                    entryProblem("「" + excerpt(k) + "」出现了不止一次");
                break;
            case Level::Capture:
            case Level::Skip:
            case Level::Entries:
                break;
        }
        key_ = std::move(k);
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& e) {
        // 406: a number beyond what a double holds ("1e400"); within an entry, the caller
        // names its field.
        const bool overflow = e.id == 406;
        if (overflow && !levels_.empty() &&
            (levels_.back() == Level::Entry || levels_.back() == Level::Values ||
             levels_.back() == Level::Capture)) {
            file.overflowEntry = entry_.number;
            file.overflow = {levels_.back() == Level::Capture ? member_.key : key_, nullptr, false,
                             token};
        }
        return fail(std::string(overflow ? "JSON 中的数字超出范围" : "JSON 格式不正确") +
                    "：在第 " + std::to_string(position) + " 个字节附近");
    }

    bool fail(std::string why) {
        if (file.error.empty())
            file.error = std::move(why);
        return false;
    }

private:
    bool open(bool object) {
        if (levels_.size() >= kMaxJsonDepth) {
            return fail("JSON 嵌套超过 " + std::to_string(kMaxJsonDepth) +
                        " 层，不是导出的表格文件");
        }
        if (levels_.empty()) {
            if (!object)
                return fail(kShape);
            levels_.push_back(Level::Top);
            return true;
        }
        switch (levels_.back()) {
            case Level::Top:
                if (key_ == "entries") {
                    if (object)
                        return fail(kShape);
                    levels_.push_back(Level::Entries);
                    return true;
                }
                if (key_ == "table")
                    file.hasTable = true;  // and not text
                break;
            case Level::Entries:
                entry_ = JsonEntry{};
                entry_.number = ++entries_;
                entryKeys_.clear();
                valueKeys_.clear();
                if (object) {
                    levels_.push_back(Level::Entry);
                    return true;
                }
                entry_.problem = kEntryShape;
                onEntry_(entry_);
                break;
            case Level::Entry:
                if (key_ == "values") {
                    if (object) {
                        levels_.push_back(Level::Values);
                        return true;
                    }
                    entryProblem(kEntryShape);
                } else if (isId(key_)) {
                    beginCapture(entry_.ids, object);
                    return true;
                }
                break;
            case Level::Values:
                beginCapture(entry_.values, object);
                return true;
            case Level::Capture:
                add(object ? Json::object() : Json::array());
                levels_.push_back(Level::Capture);
                return true;
            case Level::Skip:
                break;
        }
        levels_.push_back(Level::Skip);
        return true;
    }

    bool close() {
        const Level level = levels_.back();
        levels_.pop_back();
        if (level == Level::Top && !topKeys_.contains("entries"))
            return fail(kShape);
        if (level == Level::Entry)
            onEntry_(entry_);
        if (level == Level::Capture) {
            path_.pop_back();
            if (path_.empty())
                target_->push_back(std::move(member_));
        }
        return true;
    }

    bool scalar(Json value, const std::string& spelled = {}) {
        if (levels_.empty())
            return fail(kShape);
        switch (levels_.back()) {
            case Level::Top:
                if (key_ == "entries")
                    return fail(kShape);
                if (key_ == "table") {
                    file.hasTable = true;
                    file.tableIsText = value.is_string();
                    if (file.tableIsText)
                        file.table = value.get<std::string>();
                }
                break;
            case Level::Entries:
                entry_ = JsonEntry{};
                entry_.number = ++entries_;
                entry_.problem = kEntryShape;
                onEntry_(entry_);
                break;
            case Level::Entry:
                if (key_ == "values")
                    entryProblem(kEntryShape);
                else if (isId(key_))
                    entry_.ids.push_back(member(std::move(value)));
                break;
            case Level::Values:
                entry_.values.push_back(member(std::move(value)));
                entry_.values.back().spelled = spelled;
                break;
            case Level::Capture:
                add(std::move(value));
                break;
            case Level::Skip:
                break;
        }
        return true;
    }

    JsonMember member(Json value) const {
        if (value.is_string() && value.get_ref<const std::string&>().size() > kMaxString)
            return {key_, nullptr, true};
        return {key_, std::move(value), false};
    }

    void entryProblem(const std::string& why) {
        if (entry_.problem.empty())
            entry_.problem = why;
    }

    // A value that is a list or an object, kept (within bounds) for the field to judge.
    void beginCapture(std::vector<JsonMember>& target, bool object) {
        target_ = &target;
        member_ = {key_, object ? Json::object() : Json::array(), false};
        items_ = 0;
        path_.assign(1, &member_.value);
        levels_.push_back(Level::Capture);
    }

    // `value` into the innermost open container of the captured value; null once too large.
    void add(Json value) {
        Json* parent = path_.back();
        const bool container = value.is_structured();
        Json* child = nullptr;
        if (value.is_string() && value.get_ref<const std::string&>().size() > kMaxString)
            tooLarge();
        else if (++items_ > kMaxItems)
            tooLarge();
        else if (parent != nullptr && !member_.tooLarge)
            child = parent->is_array() ? &parent->emplace_back(std::move(value))
                                       : &((*parent)[key_] = std::move(value));
        if (container)
            path_.push_back(member_.tooLarge ? nullptr : child);
    }

    void tooLarge() {
        member_.tooLarge = true;
        member_.value = nullptr;
        for (Json*& p : path_)
            p = nullptr;
    }

    const std::function<void(const JsonEntry&)>& onEntry_;
    std::vector<Level> levels_;
    std::string key_;  // the key whose value comes next
    std::set<std::string> topKeys_;
    std::set<std::string> entryKeys_;
    std::set<std::string> valueKeys_;
    std::size_t entries_ = 0;
    JsonEntry entry_;
    // The captured value: where it goes, the member, its open containers, its item count.
    std::vector<JsonMember>* target_ = nullptr;
    JsonMember member_;
    std::vector<Json*> path_;
    std::size_t items_ = 0;
};

void appendItem(std::string& out, const Json& item) {
    if (item.is_string())
        out +=
            "\"" + item.get_ref<const std::string&>().substr(0, kExcerptCharacters * 4 + 8) + "\"";
    else if (item.is_array())
        out += item.empty() ? "[]" : "[…]";
    else if (item.is_object())
        out += item.empty() ? "{}" : "{…}";
    else
        out += item.dump();
}

}  // namespace

JsonTableFile readJsonTable(std::string_view text,
                            const std::function<void(const JsonEntry&)>& onEntry) {
    Reader reader(onEntry);
    if (!Json::sax_parse(text.begin(), text.end(), &reader))
        reader.fail(kShape);  // kept only when no reason was given yet
    return std::move(reader.file);
}

std::string jsonExcerpt(const Json& value) {
    if (value.is_string())
        return excerpt(value.get_ref<const std::string&>());
    if (!value.is_array()) {
        std::string one;
        appendItem(one, value);
        return excerpt(one);
    }
    // The first items only: the excerpt ends the line anyway.
    std::string out = "[";
    for (const Json& item : value) {
        if (out.size() > 1)
            out += ",";
        appendItem(out, item);
        if (out.size() > kExcerptCharacters * 4)
            break;
    }
    return excerpt(out + "]");
}

}  // namespace vorlan
