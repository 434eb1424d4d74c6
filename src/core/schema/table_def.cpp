#include "schema/table_def.h"

#include <cstdio>
#include <stdexcept>

#include "schema/name_source.h"

namespace vorlan {

FieldDef fieldOf(std::string key, std::string control, std::string caption, int offset, int width,
                 EncodingPtr encoding, std::uint8_t mask, std::string group) {
    return FieldDef{std::move(key),
                    std::move(control),
                    std::move(caption),
                    std::move(group),
                    offset,
                    width,
                    std::move(encoding),
                    mask};
}

TableDef tableOf(std::string name, std::string caption, std::uint32_t offset, int size, int count) {
    TableDef t;
    t.name = std::move(name);
    t.caption = std::move(caption);
    t.offset = offset;
    t.size = size;
    t.count = count;
    return t;
}

std::uint32_t TableDef::entryOffset(int index) const {
    if (index < 0 || index >= count) {
        throw std::out_of_range("entry index outside the table");
    }
    const auto i = static_cast<std::uint32_t>(index);
    if (perGroup > 0) {
        const auto per = static_cast<std::uint32_t>(perGroup);
        return offset + (i / per) * groupStride + (i % per) * static_cast<std::uint32_t>(size);
    }
    return offset + i * static_cast<std::uint32_t>(size);
}

std::uint32_t TableDef::end() const {
    return entryOffset(count - 1) + static_cast<std::uint32_t>(size);
}

int TableDef::fieldIndex(const std::string& keyOrControl) const {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].key == keyOrControl || fields[i].control == keyOrControl) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const FieldDef* TableDef::field(const std::string& keyOrControl) const {
    const int i = fieldIndex(keyOrControl);
    return i < 0 ? nullptr : &fields[static_cast<std::size_t>(i)];
}

std::string TableDef::label(int index, NameSource* names) const {
    if (labelRule)
        return labelRule(index, names);
    const auto i = static_cast<std::size_t>(index);
    if (labelList != NameList::None && names != nullptr) {
        if (const auto* list = names->names(labelList); list != nullptr && i < list->size())
            return (*list)[i];
    }
    if (i < labelItems.size())
        return labelItems[i];
    char number[16];
    std::snprintf(number, sizeof number, "%03d", index);
    return caption + number;
}

bool TableDef::isReserved(int at) const {
    for (const ByteSpan& r : reserved) {
        if (at >= r.offset && at < r.offset + r.length)
            return true;
    }
    return false;
}

}  // namespace vorlan
