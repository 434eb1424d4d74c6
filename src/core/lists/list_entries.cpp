#include "lists/list_entries.h"

namespace vorlan {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Appends the entries of one line.
void parseLine(std::string_view line, std::vector<std::string>& out, std::size_t count) {
    std::size_t i = 0;
    do {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        std::string entry;
        if (i < line.size() && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            entry = std::string(line.substr(
                i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1));
            // Whatever follows the closing quote up to the next comma is not part of the entry.
            i = close == std::string_view::npos ? line.size() : line.find(',', close);
        } else {
            const std::size_t comma = line.find(',', i);
            entry = std::string(line.substr(
                i, comma == std::string_view::npos ? std::string_view::npos : comma - i));
            i = comma;
        }
        out.push_back(std::move(entry));
        if (i == std::string_view::npos || i >= line.size())
            break;
        ++i;  // past the comma; a comma at the end of the line starts no further entry
    } while (i < line.size() && out.size() < count);
}

}  // namespace

std::vector<std::string> parseEntries(std::string_view text, std::size_t count) {
    std::vector<std::string> out;
    while (!text.empty() && out.size() < count) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        parseLine(line, out, count);
    }
    if (out.size() > count)
        out.resize(count);
    return out;
}

std::size_t loneCarriageReturnLine(std::string_view text) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            ++line;
        else if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return line;
    }
    return 0;
}

}  // namespace vorlan
