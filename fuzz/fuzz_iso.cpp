// Fuzz target: the whole disc image check over images whose first sectors (volume
// descriptors, path tables, directories) come from the input, the executable region holding
// an ELF. The ISO 9660 walk runs in-process here (libFuzzer cannot follow the child process
// the programs use, and UDF is read only there). The same input is also given to the parser
// of the child's answer and to the saved region trailer parser.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "image/directory_report.h"
#include "image/disc_image.h"
#include "image/image_check.h"
#include "image/region_trailer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span input(data, size);
    if (const auto report = vorlan::decodeReport({reinterpret_cast<const char*>(data), size})) {
        vorlan::describeReport(*report, "fuzz.iso");
    }
    if (size >= vorlan::kTrailerSize)
        vorlan::parseTrailer(input.last(vorlan::kTrailerSize));

    static const std::string path = "/tmp/vorlan-fuzz-iso-" + std::to_string(::getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return 0;
    std::fwrite(data, 1, std::min<std::size_t>(size, vorlan::kImageExeOffset), f);
    std::fseek(f, static_cast<long>(vorlan::kImageExeOffset), SEEK_SET);
    std::fwrite(
        "\x7F"
        "ELF",
        1, 4, f);
    std::fseek(f, static_cast<long>(vorlan::kImageExeOffset + vorlan::kImageExeLength - 1),
               SEEK_SET);
    std::fputc(0, f);
    std::fclose(f);
    vorlan::checkImageInProcess(path);
    return 0;
}
