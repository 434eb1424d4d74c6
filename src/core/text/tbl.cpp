#include "text/tbl.h"

#include <algorithm>

#include "text/shown_text.h"
#include "text/utf8.h"

namespace vorlan {

namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char upper(char c) {
    return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The start of a line as a message quotes it.
std::string quotedLine(std::string_view line) {
    return line.empty() ? std::string() : "：「" + excerpt(line) + "」";
}

// "XXXX" and one character, or nothing.
bool splitEntry(std::string_view code, std::string_view character) {
    return code.size() == 4 && std::all_of(code.begin(), code.end(), isHex) &&
           utf8::isValid(character) && utf8::length(character) == 1;
}

}  // namespace

std::vector<std::string> parseTbl(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t number = 0;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos)
            end = text.size();
        else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            end += 2;
        else
            end += 1;
        text.remove_prefix(end);
        ++number;
        if (isBlank(line) || line.front() == ';' || line.front() == '#')
            continue;
        if (line.size() < 5 || line[4] != '=' || !splitEntry(line.substr(0, 4), line.substr(5)) ||
            hasControls(line.substr(5)))
            throw TblError("第 " + std::to_string(number) +
                           " 行不是「四位十六进制字码=一个字符」的形式" + quotedLine(line));
        if (entries.size() == kMaxTblEntries)
            throw TblError("第 " + std::to_string(number) + " 行：字码表超过了 " +
                           std::to_string(kMaxTblEntries) + " 项");
        std::string entry;
        std::transform(line.begin(), line.begin() + 4, std::back_inserter(entry), upper);
        entry += line.substr(5);
        entries.push_back(std::move(entry));
    }
    if (entries.empty())
        throw TblError("里面没有任何「XXXX=字」形式的字码");
    return entries;
}

std::string formatTbl(const std::vector<std::string>& entries) {
    std::string text;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const std::string_view entry = entries[k];
        if (entry.size() < 5 || !splitEntry(entry.substr(0, 4), entry.substr(4)))
            throw TblError("第 " + std::to_string(k + 1) +
                           " 项不是四位十六进制字码加一个字符，无法写成 .tbl" + quotedLine(entry));
        text.append(entry.substr(0, 4)).append("=").append(entry.substr(4)).append("\n");
    }
    return text;
}

}  // namespace vorlan
