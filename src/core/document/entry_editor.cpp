#include "document/entry_editor.h"

#include <algorithm>

#include "access/field_access.h"
#include "schema/name_bytes.h"
#include "schema/name_source.h"
#include "schema/record_io.h"
#include "schema/value_text.h"
#include "text/char_table.h"

namespace vorlan {

namespace {

std::vector<std::uint8_t> slice(const Block& block, std::uint64_t offset, int size) {
    const auto at = static_cast<std::ptrdiff_t>(offset - block.offset);
    return {block.bytes.begin() + at, block.bytes.begin() + at + size};
}

void put(Block& block, std::uint64_t offset, const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(),
              block.bytes.begin() + static_cast<std::ptrdiff_t>(offset - block.offset));
}

// The first byte of an entry that changed inside a reserved span, or -1.
int reservedChange(const TableDef& table, const std::vector<std::uint8_t>& before,
                   const std::vector<std::uint8_t>& after) {
    for (const ByteSpan& r : table.reserved) {
        for (int i = r.offset; i < r.offset + r.length; ++i) {
            if (before[static_cast<std::size_t>(i)] != after[static_cast<std::size_t>(i)])
                return i;
        }
    }
    return -1;
}

// A value as a step names it: a name code as its text through the character table
// (「银翼王」), when there is one.
std::string shownValue(const TableDef& table, const FieldDef& f, const FieldValue& v,
                       NameSource* names) {
    const CharTable* chars = names != nullptr ? names->chars() : nullptr;
    const bool named = std::any_of(table.decoded.begin(), table.decoded.end(),
                                   [&](const DecodedName& d) { return d.field == f.key; });
    if (chars != nullptr && named) {
        if (const std::string text = chars->decode(v.text); !text.empty())
            return "「" + text + "」";
    }
    return valueText(f, v, names);
}

// "HP 1000 → 2000" for each field written.
std::string describeFields(const TableDef& table, const std::vector<int>& fields,
                           const std::vector<FieldValue>& before,
                           const std::vector<FieldValue>& after, NameSource* names) {
    std::string out;
    for (int i : fields) {
        const auto k = static_cast<std::size_t>(i);
        const FieldDef& f = table.fields[k];
        out += (out.empty() ? "" : "，") + f.fullCaption() + " " +
               shownValue(table, f, before[k], names) + " → " +
               shownValue(table, f, after[k], names);
    }
    return out;
}

WriteResult refused(std::string message) {
    WriteResult r;
    r.status = WriteResult::Status::Refused;
    r.message = std::move(message);
    return r;
}

std::string noEntry(const TableDef& table, int index) {
    return table.caption + "没有第 " + std::to_string(index) + " 个条目（共 " +
           std::to_string(table.count) + " 个，从 0 起数）。";
}

std::string reservedFault(const TableDef& table, int byte) {
    return "内部错误：" + table.caption + "的改动会写到第 " + std::to_string(byte) +
           " 字节，那是本程序从不写入的保留字节。没有写入任何内容。";
}

}  // namespace

EntryView EntryEditor::show(const TableDef& table, int index) {
    if (index < 0 || index >= table.count)
        throw DocumentError(noEntry(table, index));
    EntryView view;
    view.offset = table.entryOffset(index);
    ByteStore entry(doc_.read(view.offset, static_cast<std::size_t>(table.size)));
    view.values = readEntry(entry, table);
    view.label = label(table, index);
    const CharTable* chars = names_ != nullptr ? names_->chars() : nullptr;
    if (chars != nullptr) {
        for (const DecodedName& d : table.decoded) {
            const int f = table.fieldIndex(d.field);
            view.decoded.emplace_back(d.control,
                                      chars->decode(view.values[static_cast<std::size_t>(f)].text));
        }
    }
    return view;
}

std::vector<std::string> EntryEditor::decodedNames(const TableDef& table, int first, int count) {
    const CharTable* chars = names_ != nullptr ? names_->chars() : nullptr;
    if (chars == nullptr || table.decoded.empty() || count <= 0)
        return {};
    if (first < 0 || first + count > table.count)
        throw DocumentError(noEntry(table, first < 0 ? first : first + count - 1));
    const std::uint64_t from = table.entryOffset(first);
    const std::uint64_t to =
        table.entryOffset(first + count - 1) + static_cast<std::uint64_t>(table.size);
    const std::vector<std::uint8_t> bytes = doc_.read(from, static_cast<std::size_t>(to - from));
    std::vector<std::string> out;
    for (int i = first; i < first + count; ++i) {
        const auto at = static_cast<std::ptrdiff_t>(table.entryOffset(i) - from);
        ByteStore entry(
            std::vector<std::uint8_t>(bytes.begin() + at, bytes.begin() + at + table.size));
        FieldAccess fa(entry);
        std::string names;
        for (const DecodedName& d : table.decoded) {
            const FieldDef& f = *table.field(d.field);
            fa.curpos = f.offset + 1;
            const std::string text = chars->decode(f.encoding->read(fa, f).text);
            if (!text.empty())
                names += (names.empty() ? "" : " ") + text;
        }
        out.push_back(std::move(names));
    }
    return out;
}

WriteResult EntryEditor::save(const std::vector<EntryEdit>& edits, const std::string& stepLabel) {
    for (const EntryEdit& e : edits) {
        if (e.index < 0 || e.index >= e.table->count)
            return refused(noEntry(*e.table, e.index));
        if (e.shown.size() != e.table->fields.size() || e.edited.size() != e.table->fields.size())
            return refused("内部错误：" + e.table->caption + "的字段数目不对，没有写入任何内容。");
    }
    if (edits.empty())
        return {};
    Change change;
    // One block for entries that share bytes (a unit's header and one of its slots), one per
    // table elsewhere: a page's write over several tables reads only what it edits.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    for (const EntryEdit& e : edits) {
        const std::uint64_t base = e.table->entryOffset(e.index);
        spans.emplace_back(base, base + static_cast<std::uint64_t>(e.table->size));
        change.entries.push_back(e.index);
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<std::uint64_t, std::uint64_t>> merged;
    for (const auto& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, span.second);
        else
            merged.push_back(span);
    }
    for (const auto& [from, to] : merged)
        change.ranges.emplace_back(from, static_cast<std::size_t>(to - from));
    change.table = edits.front().table->name;
    const bool severalTables = std::any_of(edits.begin(), edits.end(), [&](const EntryEdit& e) {
        return e.table != edits.front().table;
    });
    change.edit = [&](std::vector<Block>& blocks) {
        EditOutcome out;
        std::string label;
        for (std::size_t k = 0; k < edits.size(); ++k) {
            const EntryEdit& e = edits[k];
            const TableDef& table = *e.table;
            const std::uint64_t base = table.entryOffset(e.index);
            Block& block = *std::find_if(blocks.begin(), blocks.end(), [&](const Block& b) {
                return base >= b.offset && base < b.offset + b.bytes.size();
            });
            const auto before = slice(block, base, table.size);
            auto after = before;
            const SaveOutcome saved = applyEdits(after, table, e.shown, e.edited);
            if (!saved.ok()) {
                // The other edits are checked too: one answer names every bad field.
                for (const FieldRefusal& r : saved.refusals)
                    out.refusals.push_back({static_cast<int>(k), r.field, r.message});
                continue;
            }
            if (!out.refusals.empty())
                continue;
            if (const int byte = reservedChange(table, before, after); byte >= 0)
                return EditOutcome::refusal(reservedFault(table, byte));
            if (saved.fields.empty() || before == after)
                continue;
            put(block, base, after);
            out.entries.push_back(e.index);  // only the entries whose bytes change
            if (!stepLabel.empty()) {
                for (int i : saved.fields)
                    out.fields.push_back(table.fields[static_cast<std::size_t>(i)].key);
                continue;
            }
            ByteStore beforeStore(before);
            ByteStore afterStore(after);
            const auto was = readEntry(beforeStore, table);
            const auto now = readEntry(afterStore, table);
            std::vector<int> changed;
            for (int i : saved.fields) {
                if (!(was[static_cast<std::size_t>(i)] == now[static_cast<std::size_t>(i)]))
                    changed.push_back(i);
                out.fields.push_back(table.fields[static_cast<std::size_t>(i)].key);
            }
            // Entries of several tables are named with their table's caption.
            std::string entry = this->label(table, e.index);
            if (severalTables && entry.find(table.caption) == std::string::npos)
                entry = table.caption + " " + entry;
            label += (label.empty() ? "" : "；") + entry + "：" +
                     describeFields(table, changed, was, now, names_);
        }
        if (out.refused())
            return out;
        out.label = stepLabel.empty() ? label : stepLabel;
        // Each key once, in the order first written (many entries write the same fields).
        std::vector<std::string> keys;
        for (std::string& key : out.fields) {
            if (std::find(keys.begin(), keys.end(), key) == keys.end())
                keys.push_back(std::move(key));
        }
        out.fields = std::move(keys);
        return out;
    };
    return doc_.write(change);
}

std::vector<std::string> EntryEditor::clearedNameBytes(const std::vector<EntryEdit>& edits) {
    std::vector<std::string> out;
    for (const EntryEdit& e : edits) {
        const TableDef& table = *e.table;
        const auto before = copy(table, e.index);
        auto after = before;
        const SaveOutcome saved = applyEdits(after, table, e.shown, e.edited);
        if (!saved.ok())
            return {};
        for (int i : saved.fields) {
            const auto k = static_cast<std::size_t>(i);
            std::string note = vorlan::clearedNameBytes(table.fields[k], e.shown[k], before, after);
            if (!note.empty())
                out.push_back(std::move(note));
        }
    }
    return out;
}

std::vector<std::string> EntryEditor::nameNotes(const std::vector<EntryEdit>& edits) const {
    std::vector<std::string> out;
    for (const EntryEdit& e : edits) {
        for (std::size_t i = 0; i < e.table->fields.size(); ++i) {
            if (e.edited[i] == e.shown[i])
                continue;
            std::string note = nameCodeNote(e.table->fields[i], e.edited[i].text);
            if (!note.empty())
                out.push_back(edits.size() > 1 ? label(*e.table, e.index) + "：" + note : note);
        }
    }
    return out;
}

std::vector<std::uint8_t> EntryEditor::copy(const TableDef& table, int index) {
    if (index < 0 || index >= table.count)
        throw DocumentError(noEntry(table, index));
    return doc_.read(table.entryOffset(index), static_cast<std::size_t>(table.size));
}

WriteResult EntryEditor::paste(const TableDef& table, int index,
                               const std::vector<std::uint8_t>& bytes,
                               const std::string& sourceLabel) {
    if (!table.copyable)
        return refused(table.caption + "的条目不能整条复制和粘贴。");
    if (index < 0 || index >= table.count)
        return refused(noEntry(table, index));
    if (bytes.size() != static_cast<std::size_t>(table.size)) {
        return refused("复制的数据有 " + std::to_string(bytes.size()) + " 字节，而" +
                       table.caption + "的一个条目是 " + std::to_string(table.size) +
                       " 字节，没有粘贴。");
    }
    Change change;
    change.table = table.name;
    change.entries = {index};
    change.ranges.emplace_back(table.entryOffset(index), bytes.size());
    change.edit = [&](std::vector<Block>& blocks) {
        // The whole entry, bytes no field shows included: the copy is the record.
        blocks.front().bytes = bytes;
        EditOutcome out;
        out.label = "把" + sourceLabel + "的数据粘贴到" + label(table, index) + "上";
        return out;
    };
    return doc_.write(change);
}

WriteResult EntryEditor::setOnAll(const TableDef& table,
                                  const std::vector<std::pair<std::string, FieldValue>>& values,
                                  const std::string& label) {
    std::vector<int> fields;
    for (const auto& [key, value] : values) {
        const int f = table.fieldIndex(key);
        if (f < 0)
            return refused(table.caption + "没有字段「" + key + "」，没有写入任何内容。");
        fields.push_back(f);
    }
    Change change;
    change.table = table.name;
    const std::uint64_t first = table.entryOffset(0);
    change.ranges.emplace_back(first, static_cast<std::size_t>(table.end() - first));
    change.edit = [&](std::vector<Block>& blocks) {
        EditOutcome out;
        Block& block = blocks.front();
        for (int index = 0; index < table.count; ++index) {
            const std::uint64_t base = table.entryOffset(index);
            auto entry = slice(block, base, table.size);
            ByteStore store(entry);
            const auto shown = readEntry(store, table);
            auto edited = shown;
            for (std::size_t k = 0; k < fields.size(); ++k)
                edited[static_cast<std::size_t>(fields[k])] = values[k].second;
            const auto before = entry;
            const SaveOutcome saved = applyEdits(entry, table, shown, edited);
            if (!saved.ok()) {
                const FieldRefusal& first = saved.refusals.front();
                out.refusals = {{0, first.field, first.message}};
                return out;
            }
            if (const int byte = reservedChange(table, before, entry); byte >= 0)
                return EditOutcome::refusal(reservedFault(table, byte));
            if (entry != before) {
                put(block, base, entry);
                out.entries.push_back(index);
            }
        }
        for (const auto& [key, value] : values)
            out.fields.push_back(key);
        out.label = label;
        return out;
    };
    return doc_.write(change);
}

}  // namespace vorlan
