// Fuzz target: a CSV whole-table file through the import's plan (first byte: the table),
// as spreadsheet programs save it: quoted cells, marked formula cells, odd rows and sizes.

#include "import_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vorlan::fuzz::planAndCheck(data, size, vorlan::TableFormat::Csv);
    return 0;
}
