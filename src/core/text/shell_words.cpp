#include "text/shell_words.h"

#include <algorithm>

#include "text/shown_text.h"

namespace vorlan {

namespace {

bool bare(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("_./:=+-").find(c) != std::string_view::npos;
    });
}

// Whether the Command Prompt or PowerShell reads something inside double quotes in `word`.
bool readInDoubleQuotes(std::string_view word) {
    if (word.find_first_of("\"%!$`") != std::string_view::npos)
        return true;
    // U+2018 … U+201E: E2 80 98 … E2 80 9E, quotes to PowerShell.
    for (std::size_t at = word.find("\xE2\x80"); at != std::string_view::npos;
         at = word.find("\xE2\x80", at + 1)) {
        const auto third = at + 2 < word.size() ? static_cast<unsigned char>(word[at + 2]) : 0u;
        if (third >= 0x98 && third <= 0x9E)
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> shellWord(std::string_view word, Shell shell) {
    if (word.find('\t') != std::string_view::npos || hasControls(word))
        return std::nullopt;
    if (bare(word))
        return std::string(word);
    if (shell == Shell::Posix) {
        std::string out = "'";
        for (const char c : word)
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return out + "'";
    }
    if (readInDoubleQuotes(word))
        return std::nullopt;
    // Backslashes are plain text to the program's argument rules except before a quote: those
    // before the closing one are doubled, so that the quote still closes the word.
    const std::size_t trailing = word.size() - (word.find_last_not_of('\\') + 1);
    return "\"" + std::string(word) + std::string(trailing, '\\') + "\"";
}

std::optional<std::string> shellCommand(const std::vector<std::string>& words, Shell shell) {
    std::string line;
    for (const std::string& word : words) {
        const auto quoted = shellWord(word, shell);
        if (!quoted)
            return std::nullopt;
        line += (line.empty() ? "" : " ") + *quoted;
    }
    return line;
}

}  // namespace vorlan
