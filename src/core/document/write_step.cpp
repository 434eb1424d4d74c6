#include "document/write_step.h"

#include <stdexcept>

namespace vorlan {

std::size_t WriteStep::bytesChanged() const {
    std::size_t n = 0;
    for (const ByteRun& r : runs) {
        for (std::size_t i = 0; i < r.after.size(); ++i)
            n += r.before[i] != r.after[i] ? 1 : 0;
    }
    return n;
}

WriteStep WriteStep::reversed() const {
    WriteStep back = *this;
    for (ByteRun& r : back.runs)
        std::swap(r.before, r.after);
    return back;
}

std::vector<ByteRun> changedRuns(std::uint64_t offset, const std::vector<std::uint8_t>& before,
                                 const std::vector<std::uint8_t>& after) {
    if (before.size() != after.size())
        throw std::invalid_argument("blocks of different sizes");
    // Only the bytes that differ are written: a byte the edit left alone is never touched.
    std::vector<ByteRun> runs;
    std::size_t i = 0;
    while (i < after.size()) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < after.size() && before[end] != after[end])
            ++end;
        ByteRun r;
        r.offset = offset + i;
        r.before.assign(before.begin() + static_cast<std::ptrdiff_t>(i),
                        before.begin() + static_cast<std::ptrdiff_t>(end));
        r.after.assign(after.begin() + static_cast<std::ptrdiff_t>(i),
                       after.begin() + static_cast<std::ptrdiff_t>(end));
        runs.push_back(std::move(r));
        i = end;
    }
    return runs;
}

}  // namespace vorlan
