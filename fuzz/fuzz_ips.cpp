// Fuzz target: the IPS reader and writer. Any input is refused or gives a file of the
// source's length; a target made from the input must round-trip through the writer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "bulk/ips.h"
#include "bulk/patch_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> source(1024, 0x20);
    try {
        if (vorlan::applyIps(std::span(data, size), source).size() != source.size())
            std::abort();
    } catch (const vorlan::PatchError&) {
    }
    // Pairs of (position / 4, byte) make the target, so runs and gaps both occur.
    std::vector<std::uint8_t> target = source;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const std::size_t at = static_cast<std::size_t>(data[i]) * 4;
        for (std::size_t k = 0; k < (data[i + 1] & 0x1F) && at + k < target.size(); ++k)
            target[at + k] = data[i + 1];
    }
    if (vorlan::applyIps(vorlan::makeIps(source, target), source) != target)
        std::abort();
    return 0;
}
