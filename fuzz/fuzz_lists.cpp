// Fuzz target: a list file's bytes through the encoding decision and the entry parser.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lists/list_entries.h"
#include "io/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const std::string text = vorlan::decodeText(bytes, "fuzz.txt");
        vorlan::parseEntries(text, 7302);
        vorlan::splitLines(text);
    } catch (const vorlan::DataFileError&) {
    }
    return 0;
}
