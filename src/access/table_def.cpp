#include "access/table_def.h"

#include <stdexcept>

namespace vorlan {

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

}  // namespace vorlan
