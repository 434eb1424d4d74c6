#pragma once
// The data folder's lists as the table engine needs them for labels and decoded names.
// Each front end supplies its own: the editor from the lists it loaded at open, the
// command line reading each file on first use (and throwing, to refuse the command by the
// file's name, when one cannot be read). Tests may lack a list.

#include <string>
#include <vector>

#include "schema/encoding.h"

namespace vorlan {

class CharTable;

class NameSource {
public:
    virtual ~NameSource() = default;
    // The names of a list, or nullptr when it is not available.
    virtual const std::vector<std::string>* names(NameList list) = 0;
    // The character table, or nullptr when it is not available.
    virtual const CharTable* chars() = 0;
};

}  // namespace vorlan
