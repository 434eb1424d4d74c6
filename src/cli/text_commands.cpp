#include "text_commands.h"

#include "list_cache.h"
#include "text/utf8.h"

namespace vorlan::cli {

namespace {

// Refuses a text that is not UTF-8 or is longer than the codec takes.
void checkLength(const std::string& text, const char* what) {
    if (!utf8::isValid(text))
        throw Refusal(std::string(what) + "不是有效的 UTF-8 文本。");
    const std::size_t n = utf8::length(text);
    if (n > CharTable::kMaxText) {
        throw Refusal(std::string(what) + "有 " + std::to_string(n) + " 个字符，最多 " +
                      std::to_string(CharTable::kMaxText) + " 个。");
    }
}

}  // namespace

void DecodeCommand::declare(CLI::App& sub) {
    sub.add_option("CODETEXT", codes_, "Code text, e.g. 82A082A2")->required();
}

int DecodeCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream&) {
    checkLength(codes_, "字码");
    ListCache lists(options.dataDir, options.chars);
    out << lists.charTable().decode(codes_) << "\n";
    return kOk;
}

void LookupCommand::declare(CLI::App& sub) {
    sub.add_option("TEXT", text_, "Characters to look up")->required();
}

int LookupCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream&) {
    checkLength(text_, "要查找的字符串");
    ListCache lists(options.dataDir, options.chars);
    const CharTable::Lookup found = lists.charTable().lookup(text_);
    if (!found.found)
        throw Refusal("没有查找到匹配的字符串（字库里没有「" + found.missing + "」）");
    out << found.codes << "\n";
    return kOk;
}

}  // namespace vorlan::cli
