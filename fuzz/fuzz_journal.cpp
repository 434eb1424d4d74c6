// Fuzz target: the journal decoder over any bytes, and the playback check over what it
// accepts. A journal it accepts must encode back to the same bytes, keep every run inside
// the file it names, and never let the check read outside the runs it was given.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "document/journal.h"
#include "tables/catalog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vorlan::DecodedJournal;
    const DecodedJournal d = vorlan::decodeJournal(std::span(data, size));
    if (d.state != DecodedJournal::State::Valid)
        return 0;
    const vorlan::Journal& j = d.journal;
    if (vorlan::encodeJournal(j) != std::vector<std::uint8_t>(data, data + size))
        std::abort();
    vorlan::PlaybackTarget target{{j.device, j.inode, j.exeSize, true}, {}, j.outsideCrc};
    std::uint64_t end = 0;
    for (const vorlan::ByteRun& r : j.runs) {
        if (r.before.size() != r.after.size() || r.before.empty() || r.offset < end ||
            r.offset + r.before.size() > j.exeSize) {
            std::abort();
        }
        end = r.offset + r.before.size();
        target.current.push_back(r.after);
    }
    vorlan::playbackProblem(j, target, vorlan::tableLayout().writable);
    return 0;
}
