#include "bulk/csv.h"

#include <csv.h>

#include <memory>

namespace vorlan {

namespace {

bool needsQuotes(std::string_view cell) {
    return cell.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!cell.empty() && (cell.front() == ' ' || cell.back() == ' '));
}

bool startsFormula(std::string_view cell) {
    return !cell.empty() &&
           std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos;
}

bool isWholeNumber(std::string_view cell) {
    if (cell.starts_with('-'))
        cell.remove_prefix(1);
    return !cell.empty() && cell.find_first_not_of("0123456789") == std::string_view::npos;
}

// Whether "'"s stand before a formula character.
bool markedFormula(std::string_view cell) {
    const auto text = cell.find_first_not_of('\'');
    return text != 0 && text != std::string_view::npos && startsFormula(cell.substr(text));
}

struct Reader {
    Reader(const CsvLimits& l, const std::function<bool(CsvRow&)>& f) : limits(l), onRow(f) {}

    CsvLimits limits;
    const std::function<bool(CsvRow&)>& onRow;
    std::string error;
    std::size_t rows = 0;  // handed over
    CsvRow row;
    bool stop = false;

    void cell(const char* data, std::size_t size) {
        if (stop)
            return;
        if (size > limits.maxCell) {
            fail("第 " + std::to_string(rows + 1) + " 行第 " + std::to_string(row.size() + 1) +
                 " 列的内容长 " + std::to_string(size) + " 字节，超过了任何字段能有的长度");
            return;
        }
        if (row.size() >= limits.maxColumns) {
            fail("第 " + std::to_string(rows + 1) + " 行的列数超过 " +
                 std::to_string(limits.maxColumns));
            return;
        }
        row.emplace_back(data != nullptr ? data : "", size);
    }
    void endRow() {
        if (stop)
            return;
        // A line with nothing on it (a trailing empty line) is no row.
        if (!(row.size() == 1 && row.front().empty()) && !row.empty()) {
            if (rows >= limits.maxRows) {
                fail("行数超过 " + std::to_string(limits.maxRows));
                return;
            }
            ++rows;
            stop = !onRow(row);
        }
        row.clear();
    }
    void fail(std::string why) {
        stop = true;
        error = std::move(why);
    }
};

void cellRead(void* data, std::size_t size, void* self) {
    static_cast<Reader*>(self)->cell(static_cast<const char*>(data), size);
}

void rowRead(int, void* self) {
    static_cast<Reader*>(self)->endRow();
}

int noSpace(unsigned char) {
    return 0;  // spaces belong to the cell
}

}  // namespace

std::string csvLine(const CsvRow& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += ',';
        const std::string& c = cells[i];
        if (!needsQuotes(c)) {
            out += c;
            continue;
        }
        out += '"';
        for (char ch : c) {
            if (ch == '"')
                out += '"';
            out += ch;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

std::string markedCell(std::string cell) {
    const bool formula = startsFormula(cell) && !isWholeNumber(cell);
    if (formula || markedFormula(cell))
        cell.insert(0, 1, '\'');
    return cell;
}

std::string_view unmarkedCell(std::string_view cell) {
    return markedFormula(cell) ? cell.substr(1) : cell;
}

std::string readCsvRows(std::string_view text, const std::function<bool(CsvRow&)>& onRow,
                        const CsvLimits& limits) {
    Reader reader(limits, onRow);
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
        return "无法准备 CSV 读取";
    const std::unique_ptr<csv_parser, void (*)(csv_parser*)> owner(&parser, csv_free);
    csv_set_space_func(&parser, noSpace);
    // Fed in pieces, so that a refusal stops the reading early.
    constexpr std::size_t kPiece = 64 * 1024;
    for (std::size_t at = 0; at < text.size() && !reader.stop; at += kPiece) {
        const std::size_t n = std::min(kPiece, text.size() - at);
        if (csv_parse(&parser, text.data() + at, n, cellRead, rowRead, &reader) != n) {
            reader.fail(std::string("CSV 格式不正确（") + csv_strerror(csv_error(&parser)) +
                        "），在第 " + std::to_string(reader.rows + 1) + " 行附近");
        }
    }
    if (!reader.stop && csv_fini(&parser, cellRead, rowRead, &reader) != 0)
        reader.fail("CSV 格式不正确：文件末尾有未结束的引号");
    return std::move(reader.error);
}

CsvTable parseCsv(std::string_view text, const CsvLimits& limits) {
    CsvTable table;
    table.error = readCsvRows(
        text,
        [&](CsvRow& row) {
            table.rows.push_back(std::move(row));
            return true;
        },
        limits);
    return table;
}

}  // namespace vorlan
