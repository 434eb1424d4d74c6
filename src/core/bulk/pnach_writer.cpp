#include "bulk/pnach_writer.h"

#include <algorithm>
#include <set>

#include "access/byte_order.h"
#include "bulk/change_text.h"
#include "bulk/diff.h"
#include "bulk/elf_segments.h"
#include "bulk/patch_error.h"
#include "bulk/pnach_name.h"
#include "text/shown_text.h"

namespace vorlan {

namespace {

constexpr std::size_t kOffsetsShown = 8;

// One patch line: `width` bytes at file offset `offset`, memory address `address`.
struct Line {
    std::uint64_t offset = 0;
    std::uint32_t address = 0;
    std::uint32_t width = 0;
};

bool inside(const ByteRanges& ranges, std::uint64_t at) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [at](const auto& r) { return at >= r.first && at < r.second; });
}

std::string offsetText(std::uint64_t at) {
    return "0x" + hex32(static_cast<std::uint32_t>(at));
}

[[noreturn]] void refuseOutside(const std::vector<std::uint64_t>& offsets) {
    std::string list;
    for (std::size_t i = 0; i < offsets.size() && i < kOffsetsShown; ++i)
        list += (i > 0 ? "、" : "") + offsetText(offsets[i]);
    if (offsets.size() > kOffsetsShown)
        list += " 等 " + std::to_string(offsets.size()) + " 处";
    throw PatchError("游戏主程序在载入内存的段以外有改动（文件偏移 " + list +
                     "）：PCSX2 补丁只能改动载入内存的内容，无法表示这些改动。");
}

// The lines of the patch, by address: a word where the whole word lies in one segment's file
// part and wholly inside or wholly outside the tables, else the changed bytes one by one.
std::vector<Line> linesOf(std::span<const std::uint8_t> original,
                          std::span<const std::uint8_t> current,
                          const std::vector<LoadSegment>& segments, const ByteRanges& writable) {
    std::vector<Line> lines;
    std::vector<std::uint64_t> outside;
    std::uint64_t coveredTo = 0;  // bytes below this are in a word already written
    for (std::uint64_t at = 0; at < original.size(); ++at) {
        if (original[at] == current[at] || at < coveredTo)
            continue;
        const auto address = addressOfOffset(segments, at, 1);
        if (!address) {
            if (outside.empty() || outside.back() + 1 != at)
                outside.push_back(at);
            continue;
        }
        const std::uint32_t lead = *address & 3;
        const std::uint64_t word = at - lead;
        const bool uniform = inside(writable, word) == inside(writable, word + 1) &&
                             inside(writable, word) == inside(writable, word + 2) &&
                             inside(writable, word) == inside(writable, word + 3);
        if (at >= lead && addressOfOffset(segments, word, 4) == *address - lead && uniform) {
            lines.push_back({word, *address - lead, 4});
            coveredTo = word + 4;
        } else {
            lines.push_back({at, *address, 1});
        }
    }
    if (!outside.empty())
        refuseOutside(outside);
    std::sort(lines.begin(), lines.end(),
              [](const Line& a, const Line& b) { return a.address < b.address; });
    return lines;
}

std::uint32_t valueAt(std::span<const std::uint8_t> bytes, const Line& line) {
    return static_cast<std::uint32_t>(loadLe(bytes.subspan(line.offset, line.width)));
}

std::string patchLine(std::span<const std::uint8_t> current, const Line& line) {
    const std::string value = hex32(valueAt(current, line));
    return "patch=0,EE," + hex32(line.address) + (line.width == 4 ? ",word," : ",byte,") +
           (line.width == 4 ? value : value.substr(6)) + "\n";
}

// The comment lines before a run of lines covering file bytes [from, to): each changed
// field there not named before, or the offsets when no field lies there.
std::string runComment(const ExecutableDiff& diff, std::set<std::size_t>& named, std::uint64_t from,
                       std::uint64_t to, NameSource* names) {
    std::string text;
    for (std::size_t i = 0; i < diff.changes.size(); ++i) {
        const FieldChange& c = diff.changes[i];
        const FieldDef& f = c.table->fields[static_cast<std::size_t>(c.field)];
        const std::uint64_t start = c.table->entryOffset(c.index) + static_cast<unsigned>(f.offset);
        if (start >= to || start + static_cast<unsigned>(f.width) <= from ||
            !named.insert(i).second)
            continue;
        const ChangeText t = describeChange(c, names);
        text += "// " +
                escapeControls(t.label + " " + t.caption + " " + t.before + " → " + t.after) + "\n";
    }
    if (text.empty())
        text =
            "// 文件偏移 " + offsetText(from) + "–" + offsetText(to - 1) + "（不属于任何字段）\n";
    return text;
}

}  // namespace

std::string makePnach(std::span<const std::uint8_t> original, std::span<const std::uint8_t> current,
                      const ByteRanges& writable, NameSource* names) {
    if (original.size() != current.size())
        throw PatchError("PCSX2 补丁只能在长度相同的两个文件之间制作。");
    const std::vector<Line> lines = linesOf(original, current, loadSegments(original), writable);
    const ExecutableDiff diff = diffExecutables(original, current);
    std::string text = "gametitle=VORLAN (" + pnachSerial(kDiscExecutableName) + ")\n";
    text += "// 由 VORLAN静态修改器 制作：开机时把下列数值写入一次（PLACE 0）。\n";
    text += "// 文件名 " + pnachFileName(original) + "，放进 " + std::string(kPnachFolder) + "。\n";
    std::set<std::size_t> named;
    for (std::size_t i = 0; i < lines.size();) {
        // A run: lines at consecutive addresses and file offsets.
        std::size_t j = i + 1;
        while (j < lines.size() && lines[j].address == lines[j - 1].address + lines[j - 1].width &&
               lines[j].offset == lines[j - 1].offset + lines[j - 1].width)
            ++j;
        text += "\n" + runComment(diff, named, lines[i].offset,
                                  lines[j - 1].offset + lines[j - 1].width, names);
        for (; i < j; ++i)
            text += patchLine(current, lines[i]);
    }
    return text;
}

}  // namespace vorlan
