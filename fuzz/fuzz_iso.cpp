// Fuzz target: the disc image check over images whose first sectors (volume descriptors,
// path tables, directories) come from the input, the executable region holding an ELF.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/disc_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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
    vorlan::checkImage(path);
    return 0;
}
