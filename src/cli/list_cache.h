#pragma once
// The data folder's lists as the commands need them, each read at most once per run: the
// character table where names are decoded, the name lists where their labels are shown. A
// list that cannot be read (missing, a link or folder, too long, control characters, …) is
// refused by its file's name wherever it is needed.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lists/name_lists.h"
#include "schema/encoding.h"
#include "schema/name_source.h"
#include "text/char_table.h"

namespace vorlan::cli {

class ListCache final : public NameSource {
public:
    // `charFile`, when not empty, is read as the character table instead of the data folder's.
    explicit ListCache(ListFolder dataDir, std::filesystem::path charFile = {})
        : dataDir_(std::move(dataDir)), charFile_(std::move(charFile)) {}

    // The character table. Throws Refusal with the reason when its file cannot be read.
    const CharTable& charTable();
    // The character table. Throws Refusal with the reason when its file cannot be read.
    const CharTable* chars() override;
    // The names of a name list. Throws Refusal with the reason when its file cannot be read.
    const std::vector<std::string>* names(NameList list) override;
    // The names of a name list. Throws Refusal with the reason when its file cannot be read.
    const std::vector<std::string>& requireNames(NameList list);

private:
    struct Loaded {
        std::vector<std::string> names;
        std::string error;  // why the file could not be read; empty when it was
    };
    const Loaded& load(NameList list);

    ListFolder dataDir_;
    std::filesystem::path charFile_;
    std::optional<CharTable> chars_;
    std::map<NameList, Loaded> lists_;
};

// The file of a name list (`list` is not NameList::None).
const ListFile& listFile(NameList list);

// The text of item `index` of a choice or multi-select field: its vocabulary entry, or
// for a name-list choice the name from the list when that can be read.
std::optional<std::string> itemText(const FieldDef& f, int index, ListCache& lists);

}  // namespace vorlan::cli
