#include "bulk/pnach_reader.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "access/byte_order.h"
#include "bulk/elf_segments.h"
#include "bulk/patch_error.h"
#include "text/shown_text.h"

namespace vorlan {

namespace {

// Bad lines listed in one refusal; the rest are counted.
constexpr std::size_t kProblemsShown = 20;

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

// "“text”", escaped and cut for a message.
std::string quoted(std::string_view text) {
    return "“" + excerpt(text) + "”";
}

// A hexadecimal number of at most 32 bits, with or without "0x".
std::optional<std::uint32_t> hexNumber(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::vector<std::string_view> splitFields(std::string_view value) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = value.find(',');
        fields.push_back(trim(value.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        value.remove_prefix(comma + 1);
    }
}

// The write a "patch=" value asks for, or why it cannot be applied.
struct ParsedPatch {
    std::optional<PnachWrite> write;
    std::string why;
};

ParsedPatch parsePatch(std::string_view value) {
    const auto fields = splitFields(value);
    if (fields.size() != 5)
        return {std::nullopt, "patch= 后应有 5 项（PLACE,CPU,ADDRESS,TYPE,VALUE），这里有 " +
                                  std::to_string(fields.size()) + " 项"};
    if (fields[0] != "0" && fields[0] != "1" && fields[0] != "2")
        return {std::nullopt, "PLACE 只能是 0、1 或 2，这里是" + quoted(fields[0])};
    const std::string cpu = lower(fields[1]);
    if (cpu == "iop")
        return {std::nullopt, "这一行改的是另一个处理器（IOP）的内存，本程序只应用 EE 的补丁"};
    if (cpu != "ee")
        return {std::nullopt, "未知的处理器" + quoted(fields[1]) + "（应为 EE）"};
    const auto address = hexNumber(fields[2]);
    if (!address)
        return {std::nullopt, "地址" + quoted(fields[2]) + "不是 32 位以内的十六进制数"};
    const std::string type = lower(fields[3]);
    PnachWrite write;
    write.address = *address;
    if (type == "byte") {
        write.width = 1;
    } else if (type == "short") {
        write.width = 2;
    } else if (type == "word") {
        write.width = 4;
    } else if (type == "extended") {
        const std::uint32_t kind = *address >> 28;
        if (kind > 2)
            return {std::nullopt, "extended 地址的最高位是 " + std::to_string(kind) +
                                      "，本程序只应用直接写入（0 单字节、1 双字节、2 四字节）"};
        write.width = 1u << kind;
        write.address = *address & 0x0FFFFFFF;
    } else if (type == "double" || type == "beshort" || type == "beword" || type == "bedouble" ||
               type == "bytes") {
        return {std::nullopt,
                "不支持的类型 " + type + "（本程序只应用 byte、short、word 和 extended）"};
    } else {
        return {std::nullopt, "未知的类型" + quoted(fields[3])};
    }
    const auto number = hexNumber(fields[4]);
    if (!number)
        return {std::nullopt, "数值" + quoted(fields[4]) + "不是 32 位以内的十六进制数"};
    if (write.width < 4 && *number >> (8 * write.width) != 0)
        return {std::nullopt, "数值 0x" + hex32(*number) + " 超出了 " +
                                  std::to_string(write.width) + " 字节的范围"};
    write.value = *number;
    return {write, {}};
}

std::string addressText(std::uint32_t address) {
    return "地址 0x" + hex32(address);
}

bool insideOneRange(const ByteRanges& ranges, std::uint64_t at, std::uint64_t length) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [&](const auto& r) { return at >= r.first && at + length <= r.second; });
}

}  // namespace

PnachText readPnach(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxPnachBytes)
        throw PatchError(".pnach 文件太大（" + std::to_string(bytes.size()) + " 字节，最多 " +
                         std::to_string(kMaxPnachBytes) + " 字节）。");
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    PnachText out;
    for (std::size_t number = 1; !text.empty(); ++number) {
        if (number > kMaxPnachLines)
            throw PatchError(".pnach 文件的行数太多（最多 " + std::to_string(kMaxPnachLines) +
                             " 行）。");
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.size() > kMaxPnachLineBytes) {
            out.problems.push_back({number, "这一行太长（" + std::to_string(line.size()) +
                                                " 字节，最多 " +
                                                std::to_string(kMaxPnachLineBytes) + " 字节）"});
            continue;
        }
        if (const std::size_t comment = line.find("//"); comment != std::string_view::npos)
            line = line.substr(0, comment);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trim(line);
        if (line.empty() || line.front() == '[')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            out.problems.push_back(
                {number, "看不懂这一行" + quoted(line) + "：它既不是注释、组名，也不是“键=值”"});
            continue;
        }
        if (lower(trim(line.substr(0, equals))) != "patch")
            continue;
        ParsedPatch parsed = parsePatch(trim(line.substr(equals + 1)));
        if (parsed.write) {
            parsed.write->line = number;
            out.writes.push_back(*parsed.write);
        } else {
            out.problems.push_back({number, std::move(parsed.why)});
        }
    }
    return out;
}

std::vector<std::uint8_t> applyPnach(std::span<const std::uint8_t> text,
                                     std::span<const std::uint8_t> current,
                                     const ByteRanges& writable) {
    PnachText read = readPnach(text);
    if (read.writes.empty() && read.problems.empty())
        throw PatchError("这个 .pnach 文件里没有 patch= 行，没有可以应用的改动。");
    const std::vector<LoadSegment> segments = loadSegments(current);
    std::vector<std::uint8_t> patched(current.begin(), current.end());
    for (const PnachWrite& w : read.writes) {
        const auto at = offsetOfAddress(segments, w.address, w.width);
        if (!at) {
            read.problems.push_back({w.line, addressText(w.address) + " 起的 " +
                                                 std::to_string(w.width) +
                                                 " 字节不在游戏主程序任何载入段的文件内容里"});
            continue;
        }
        if (!insideOneRange(writable, *at, w.width)) {
            read.problems.push_back({w.line, addressText(w.address) + "（文件偏移 0x" +
                                                 hex32(static_cast<std::uint32_t>(*at)) +
                                                 "）在数据表以外，本程序只写入数据表"});
            continue;
        }
        storeLe(std::span(patched).subspan(*at, w.width), w.value);
    }
    if (read.problems.empty())
        return patched;
    std::stable_sort(read.problems.begin(), read.problems.end(),
                     [](const PnachProblem& a, const PnachProblem& b) { return a.line < b.line; });
    std::string message = "这个 .pnach 文件有 " + std::to_string(read.problems.size()) +
                          " 行不能应用，整个文件都没有应用：";
    for (std::size_t i = 0; i < read.problems.size() && i < kProblemsShown; ++i)
        message +=
            "\n第 " + std::to_string(read.problems[i].line) + " 行：" + read.problems[i].why + "。";
    if (read.problems.size() > kProblemsShown)
        message += "\n另有 " + std::to_string(read.problems.size() - kProblemsShown) + " 行。";
    throw PatchError(message);
}

}  // namespace vorlan
