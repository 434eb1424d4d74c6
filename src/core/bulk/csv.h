#pragma once
// CSV as spreadsheet programs read and write it (RFC 4180): cells quoted only when they
// must be, CRLF line ends; read with libcsv, accepting quoted or bare cells, CRLF or LF and
// a trailing empty line. Reading is bounded: sizes beyond what any table export can reach
// are refused with a message, never read into memory without end.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

using CsvRow = std::vector<std::string>;

// One line of cells, ending in CRLF.
std::string csvLine(const CsvRow& cells);

// A cell that a spreadsheet program would run as a formula (one that begins with "=", "+",
// "-", "@", a tab or a CR, e.g. a downloaded label "=cmd|' /C calc'!A0") is written with a
// leading "'", as those programs mark text themselves; whole numbers, negative ones too,
// stay numbers. A cell that already begins with "'"s before such a character gets one more,
// so that `unmarkedCell` gives back exactly what was marked.
std::string markedCell(std::string cell);
// The cell without that mark: one "'" dropped where "'"s precede a formula character, any
// other text as it stands.
std::string_view unmarkedCell(std::string_view cell);

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

// The same reading without keeping the rows: each row (the header first) goes to `onRow`
// as soon as it is complete, and reading stops when that returns false. Returns why the
// text is not a CSV table we read (rows handed over before stand), or "".
std::string readCsvRows(std::string_view text, const std::function<bool(CsvRow&)>& onRow,
                        const CsvLimits& limits = {});

}  // namespace vorlan
