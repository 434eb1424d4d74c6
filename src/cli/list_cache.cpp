#include "list_cache.h"

#include "command.h"
#include "lists/char_file.h"
#include "schema/table_def.h"

namespace vorlan::cli {

const ListFile& listFile(NameList list) {
    switch (list) {
        case NameList::Units:
            return kUnitList;
        case NameList::Pilots:
            return kPilotList;
        case NameList::Skills:
        case NameList::None:
            break;
    }
    return kSkillList;
}

const CharTable* ListCache::chars() {
    // A table that is there but cannot be read is said, never passed over as "no names".
    return &charTable();
}

const CharTable& ListCache::charTable() {
    if (!chars_) {
        try {
            chars_.emplace(readCharTable(dataDir_, charFile_));
        } catch (const DataFileError& e) {
            throw Refusal(e.what());
        }
    }
    return *chars_;
}

const ListCache::Loaded& ListCache::load(NameList list) {
    const auto found = lists_.find(list);
    if (found != lists_.end())
        return found->second;
    Loaded loaded;
    try {
        loaded.names = readListFile(dataDir_, listFile(list));
    } catch (const DataFileError& e) {
        loaded.error = e.what();
    }
    return lists_.emplace(list, std::move(loaded)).first->second;
}

const std::vector<std::string>* ListCache::names(NameList list) {
    // A list that cannot be read is refused by its name, as the editor and `set` refuse it:
    // labels shown as bare numbers would hide that the player's own list is broken.
    return &requireNames(list);
}

const std::vector<std::string>& ListCache::requireNames(NameList list) {
    const Loaded& loaded = load(list);
    if (!loaded.error.empty())
        throw Refusal(loaded.error);
    return loaded.names;
}

std::optional<std::string> itemText(const FieldDef& f, int index, ListCache& lists) {
    if (index < 0 || index >= f.encoding->itemCount())
        return std::nullopt;
    const auto i = static_cast<std::size_t>(index);
    if (f.encoding->nameList() == NameList::None) {
        const auto& items = f.encoding->items();
        return i < items.size() ? std::optional(items[i]) : std::nullopt;
    }
    const auto* names = lists.names(f.encoding->nameList());
    if (names == nullptr || i >= names->size())
        return std::nullopt;
    return (*names)[i];
}

}  // namespace vorlan::cli
