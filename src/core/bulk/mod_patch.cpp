#include "bulk/mod_patch.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>

#include "bulk/bps.h"
#include "bulk/change_text.h"
#include "bulk/ips.h"
#include "bulk/patch_error.h"
#include "bulk/pnach_name.h"
#include "bulk/pnach_reader.h"
#include "bulk/pnach_writer.h"
#include "io/path_text.h"
#include "io/text_file.h"

namespace vorlan {

namespace {

// Changed runs this close together are read and checked as one block.
constexpr std::uint64_t kJoinGap = 16;
constexpr std::size_t kRangesShown = 8;

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

// The runs where the two differ, joining runs at most `gap` bytes apart.
std::vector<ByteRange> changedBlocks(std::span<const std::uint8_t> a,
                                     std::span<const std::uint8_t> b, std::uint64_t gap) {
    std::vector<ByteRange> out;
    for (std::uint64_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (!out.empty() && i - (out.back().offset + out.back().length) <= gap)
            out.back().length = i + 1 - out.back().offset;
        else
            out.push_back({i, 1});
    }
    return out;
}

// Six digits cover the executable; longer offsets keep all eight.
std::string hexOffset(std::uint64_t offset) {
    const std::string digits = hex32(static_cast<std::uint32_t>(offset));
    return "0x" + (offset > 0xFFFFFF ? digits : digits.substr(2));
}

}  // namespace

const char* formatName(PatchFormat format) {
    switch (format) {
        case PatchFormat::Bps:
            return "BPS";
        case PatchFormat::Ips:
            return "IPS";
        case PatchFormat::Pnach:
            break;
    }
    return "PCSX2 .pnach";
}

std::optional<PatchFormat> formatOfPatch(std::span<const std::uint8_t> patch) {
    if (startsWith(patch, "BPS1"))
        return PatchFormat::Bps;
    if (startsWith(patch, "PATCH"))
        return PatchFormat::Ips;
    return std::nullopt;
}

std::optional<PatchFormat> formatOfName(const std::filesystem::path& path) {
    std::string ext = pathText(path.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".bps")
        return PatchFormat::Bps;
    if (ext == ".ips")
        return PatchFormat::Ips;
    if (ext == ".pnach")
        return PatchFormat::Pnach;
    return std::nullopt;
}

std::string changedEntriesNote(const ExecutableDiff& diff) {
    std::string note = "VORLAN SLKV_618.04\n";
    std::set<std::pair<const TableDef*, int>> seen;
    for (const FieldChange& c : diff.changes) {
        if (seen.insert({c.table, c.index}).second)
            note += c.table->name + ":" + entryIndexText(*c.table, c.index) + "\n";
    }
    return note;
}

std::size_t changedEntryCount(const ExecutableDiff& diff) {
    std::set<std::pair<const TableDef*, int>> entries;
    for (const FieldChange& c : diff.changes)
        entries.insert({c.table, c.index});
    return entries.size();
}

std::vector<std::uint8_t> makeModPatch(PatchFormat format, std::span<const std::uint8_t> original,
                                       std::span<const std::uint8_t> current,
                                       const ByteRanges& writable, NameSource* names) {
    if (original.size() != current.size())
        throw PatchError("原文件长 " + std::to_string(original.size()) + " 字节，游戏主程序长 " +
                         std::to_string(current.size()) +
                         " 字节：只能在长度相同的两个文件之间制作补丁。");
    if (format == PatchFormat::Ips)
        return makeIps(original, current);
    if (format == PatchFormat::Pnach) {
        const std::string text = makePnach(original, current, writable, names);
        return {text.begin(), text.end()};
    }
    return makeBps(original, current, changedEntriesNote(diffExecutables(original, current)));
}

MadePatch makePatchFromFile(PatchFormat format, const std::filesystem::path& original,
                            std::span<const std::uint8_t> current, const ByteRanges& writable,
                            NameSource* names) {
    std::error_code ec;
    if (const auto size = std::filesystem::file_size(original, ec); !ec && size != current.size())
        throw PatchError("原文件 " + pathText(original) + " 长 " + std::to_string(size) +
                         " 字节，而游戏主程序长 " + std::to_string(current.size()) +
                         " 字节：只能在长度相同的两个文件之间制作补丁。");
    std::vector<std::uint8_t> before;
    try {
        before = readWholeFile(original, current.size(), "原文件");
    } catch (const DataFileError& e) {
        throw PatchError(e.what());
    }
    return makePatchFrom(format, original, before, current, writable, names);
}

MadePatch makePatchFrom(PatchFormat format, const std::filesystem::path& original,
                        std::span<const std::uint8_t> before, std::span<const std::uint8_t> current,
                        const ByteRanges& writable, NameSource* names) {
    if (before.size() != current.size())
        throw PatchError("原文件 " + pathText(original) + " 长 " + std::to_string(before.size()) +
                         " 字节，而游戏主程序长 " + std::to_string(current.size()) +
                         " 字节：只能在长度相同的两个文件之间制作补丁。");
    if (std::equal(before.begin(), before.end(), current.begin(), current.end()))
        throw PatchError("原文件 " + pathText(original) +
                         " 和游戏主程序完全相同：没有可以做成补丁的改动。");
    MadePatch made;
    made.bytes = makeModPatch(format, before, current, writable, names);
    made.diff = diffExecutables(before, current);
    made.outside = outsideRanges(before, current, writable);
    if (format == PatchFormat::Pnach)
        made.emulatorName = pnachFileName(before);
    return made;
}

std::vector<ByteRange> outsideRanges(std::span<const std::uint8_t> original,
                                     std::span<const std::uint8_t> current,
                                     const ByteRanges& writable) {
    const auto inside = [&](std::uint64_t at) {
        return std::any_of(writable.begin(), writable.end(),
                           [at](const auto& r) { return at >= r.first && at < r.second; });
    };
    std::vector<ByteRange> out;
    for (const ByteRange& run : changedBlocks(original, current, 0)) {
        for (std::uint64_t at = run.offset; at < run.offset + run.length; ++at) {
            if (inside(at))
                continue;
            if (!out.empty() && out.back().offset + out.back().length == at)
                ++out.back().length;
            else
                out.push_back({at, 1});
        }
    }
    return out;
}

std::string rangesText(const std::vector<ByteRange>& ranges) {
    std::string text;
    for (std::size_t i = 0; i < ranges.size() && i < kRangesShown; ++i) {
        const ByteRange& r = ranges[i];
        text += (i > 0 ? "、" : "") + hexOffset(r.offset) + "–" +
                hexOffset(r.offset + r.length - 1) + "（" + std::to_string(r.length) + " 字节）";
    }
    if (ranges.size() > kRangesShown)
        text += " 等 " + std::to_string(ranges.size()) + " 处";
    return text;
}

PatchPlan planPatch(std::span<const std::uint8_t> patch, std::vector<std::uint8_t> current,
                    const ByteRanges& writable, const std::filesystem::path& name) {
    auto format = formatOfPatch(patch);
    if (!format && formatOfName(name) == PatchFormat::Pnach)
        format = PatchFormat::Pnach;
    if (!format)
        throw PatchError(
            "这不是 BPS 或 IPS 补丁：文件开头既不是 BPS1 也不是 PATCH；"
            "PCSX2 补丁的文件名要以 .pnach 结尾。");
    PatchPlan plan;
    plan.format = *format;
    if (plan.format == PatchFormat::Pnach) {
        plan.patched = applyPnach(patch, current, writable);
    } else if (plan.format == PatchFormat::Bps) {
        // A target of another length is refused below; none is ever made larger than this.
        plan.patched = applyBps(patch, current, current.size());
        plan.metadata = readBpsHeader(patch).metadata;
    } else {
        plan.patched = applyIps(patch, current);
    }
    if (plan.patched.size() != current.size())
        throw PatchError("这个补丁会把游戏主程序的长度从 " + std::to_string(current.size()) +
                         " 字节改为 " + std::to_string(plan.patched.size()) +
                         " 字节，而这个程序不改变游戏主程序的长度。");
    if (const auto outside = outsideRanges(current, plan.patched, writable); !outside.empty())
        throw PatchError("这个补丁改动了数据表以外的字节：" + rangesText(outside) +
                         "。\n本程序只写入数据表所在的范围。");
    plan.blocks = changedBlocks(current, plan.patched, kJoinGap);
    plan.diff = diffExecutables(current, plan.patched);
    plan.current = std::move(current);
    return plan;
}

Change patchChange(const PatchPlan& plan, const std::string& label) {
    Change change;
    change.table = "patch";
    std::set<std::pair<const TableDef*, int>> entries;
    for (const FieldChange& c : plan.diff.changes) {
        if (entries.insert({c.table, c.index}).second)
            change.entries.push_back(c.index);
    }
    for (const ByteRange& b : plan.blocks)
        change.ranges.emplace_back(b.offset, static_cast<std::size_t>(b.length));
    change.edit = [&plan, label](std::vector<Block>& blocks) {
        EditOutcome out;
        for (Block& block : blocks) {
            const auto from = static_cast<std::ptrdiff_t>(block.offset);
            const auto to = from + static_cast<std::ptrdiff_t>(block.bytes.size());
            if (!std::equal(block.bytes.begin(), block.bytes.end(), plan.current.begin() + from)) {
                return EditOutcome::refusal(
                    "游戏主程序在检查补丁之后又被改动了（" + hexOffset(block.offset) +
                    " 附近，可能是其他程序）。为了不覆盖那些改动，没有写入任何内容；"
                    "请重新应用补丁。");
            }
            std::copy(plan.patched.begin() + from, plan.patched.begin() + to, block.bytes.begin());
        }
        out.label = label;
        std::set<std::string> keys;
        for (const FieldChange& c : plan.diff.changes) {
            const std::string& key = c.table->fields[static_cast<std::size_t>(c.field)].key;
            if (keys.insert(key).second)
                out.fields.push_back(key);
        }
        return out;
    };
    return change;
}

}  // namespace vorlan
