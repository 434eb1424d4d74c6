// Fuzz target: the BPS decoder and encoder. The input is applied as a whole patch, and again
// as the body of one whose footer carries the right source and patch CRC-32, so that the
// fuzzer reaches the actions rather than stopping at the checksums. Anything it accepts is
// no longer than the bound. A target made from the input must round-trip through the encoder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "bulk/bps.h"
#include "bulk/patch_error.h"
#include "io/crc32.h"

namespace {

constexpr std::size_t kBound = 4096;

const std::vector<std::uint8_t>& source() {
    static const std::vector<std::uint8_t> s = [] {
        std::vector<std::uint8_t> bytes(256);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(i * 7);
        return bytes;
    }();
    return s;
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void tryApply(const std::vector<std::uint8_t>& patch) {
    try {
        if (vorlan::applyBps(patch, source(), kBound).size() > kBound)
            std::abort();
    } catch (const vorlan::PatchError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> patch(data, data + size);
    tryApply(patch);
    putLe32(patch, vorlan::crc32Of(source()));
    putLe32(patch, 0);
    putLe32(patch, vorlan::crc32Of(patch));
    tryApply(patch);

    std::vector<std::uint8_t> target = source();
    for (std::size_t i = 0; i + 1 < size; i += 2)
        target[data[i]] = data[i + 1];
    if (size % 2 == 1)
        target.resize(target.size() + data[size - 1]);
    const auto made = vorlan::makeBps(source(), target, "");
    if (vorlan::applyBps(made, source(), kBound) != target)
        std::abort();
    return 0;
}
