#pragma once
// CSV as spreadsheet programs read and write it (RFC 4180): cells quoted only when they
// must be, CRLF line ends; read with libcsv, accepting quoted or bare cells, CRLF or LF and
// a trailing empty line. Reading is bounded: sizes beyond what any table export can reach
// are refused with a message, never read into memory without end.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

using CsvRow = std::vector<std::string>;

// One line of cells, ending in CRLF.
std::string csvLine(const CsvRow& cells);

struct CsvLimits {
    std::size_t maxColumns = 1000;
    std::size_t maxCell = 4096;
    std::size_t maxRows = 20000;
};

struct CsvTable {
    std::vector<CsvRow> rows;  // the header first; empty lines left out
    std::string error;         // why the text is not a CSV table we read, in Chinese
};

// `text` is UTF-8 (a byte-order mark already dropped).
CsvTable parseCsv(std::string_view text, const CsvLimits& limits = {});

}  // namespace vorlan
