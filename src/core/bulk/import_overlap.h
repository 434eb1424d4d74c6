#pragma once
// Several files imported in one write (a folder of tables) must not set one field twice:
// the later file would silently undo what the earlier one was reported to set. Tables can
// share bytes (upgrade-increment is the attack half of weapon-upgrade's block), so the test
// is on the bits each planned field change writes, whatever table it belongs to.

#include <string>
#include <vector>

#include "bulk/table_import.h"

namespace vorlan {

struct PlannedFile {
    std::string source;  // the file's name, as messages give it
    const ImportPlan* plan = nullptr;
};

// One line per pair of field changes that write the same bits, naming both fields and both
// files; at most the first 20. Empty when no bit is set twice.
std::vector<std::string> fieldsSetTwice(const std::vector<PlannedFile>& files);

}  // namespace vorlan
