// Fuzz target: a JSON whole-table file through the import's plan (first byte: the table).
// Deep nesting, duplicate keys, odd types and sizes must end in a message, never a crash,
// and a plan must change only what it lists.

#include "import_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vorlan::fuzz::planAndCheck(data, size, vorlan::TableFormat::Json);
    return 0;
}
