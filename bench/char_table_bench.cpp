// Decoding and looking up a 20-character name through CharTable's indexes, against the
// baseline they replace: a scan of the 7,302 entries, the highest index winning.

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "fixtures/fixtures.h"
#include "lists/name_lists.h"
#include "text/char_table.h"
#include "text/utf8.h"

namespace vorlan::bench {
namespace {

std::string scanDecode(const std::vector<std::string>& entries, std::string_view codeText) {
    std::string out;
    const std::size_t decodable = std::min(entries.size(), CharTable::kDecodable);
    for (std::size_t i = 0; i + 4 <= codeText.size(); i += 4) {
        const std::string_view group = codeText.substr(i, 4);
        for (std::size_t k = decodable; k-- > 0;) {
            const std::string& e = entries[k];
            if (e.size() > 4 && e.compare(0, 4, group) == 0) {
                out += utf8::characters(e).back();
                break;
            }
        }
    }
    return out;
}

std::string scanLookup(const std::vector<std::string>& entries, std::string_view text) {
    std::string out;
    for (const std::string& c : utf8::characters(text)) {
        std::size_t k = entries.size();
        while (k-- > 0 && !(entries[k].size() > 4 && entries[k].ends_with(c))) {
        }
        if (k == static_cast<std::size_t>(-1))
            return {};
        out += entries[k].substr(0, 4);
    }
    return out;
}

struct Name {
    CharTable table;
    std::string text;   // 20 characters
    std::string codes;  // their code text
};

// Twenty characters from across the table, and a check that both ways agree on them.
const Name& name() {
    static const Name n = [] {
        Name made{CharTable(readListFile(test::sourceDataDir(), kCharList)), {}, {}};
        for (std::size_t k = 100; utf8::length(made.text) < 20; k += 350)
            made.text += utf8::characters(made.table.entries()[k]).back();
        made.codes = made.table.lookup(made.text).codes;
        if (made.codes.size() != 80 || scanLookup(made.table.entries(), made.text) != made.codes ||
            scanDecode(made.table.entries(), made.codes) != made.table.decode(made.codes))
            throw std::logic_error("the baseline and the table disagree");
        return made;
    }();
    return n;
}

void BM_Decode_CharTable(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(name().table.decode(name().codes));
}
void BM_Decode_LinearScan(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scanDecode(name().table.entries(), name().codes));
}
void BM_Lookup_CharTable(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(name().table.lookup(name().text));
}
void BM_Lookup_LinearScan(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scanLookup(name().table.entries(), name().text));
}
BENCHMARK(BM_Decode_CharTable);
BENCHMARK(BM_Decode_LinearScan);
BENCHMARK(BM_Lookup_CharTable);
BENCHMARK(BM_Lookup_LinearScan);

}  // namespace
}  // namespace vorlan::bench
