#pragma once
// Sharing a mod without sharing the game: a BPS or IPS patch made from an original copy of the
// executable to an edited one, and the plan for applying one to the open executable: the
// patched bytes, the fields they change, and the one change that writes them through the
// document.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bulk/diff.h"
#include "bulk/patch_error.h"
#include "document/document.h"

namespace vorlan {

enum class PatchFormat { Bps, Ips };

const char* formatName(PatchFormat format);
// The format a patch's first bytes name ("BPS1" or "PATCH"), if any.
std::optional<PatchFormat> formatOfPatch(std::span<const std::uint8_t> patch);
// The format a file name asks for (".bps" or ".ips", in any case), if any.
std::optional<PatchFormat> formatOfName(const std::filesystem::path& path);

// The text a BPS patch carries: a first line naming the program and the executable, then
// "table:index" of every entry whose fields changed, one a line.
std::string changedEntriesNote(const ExecutableDiff& diff);

// How many entries have a changed field.
std::size_t changedEntryCount(const ExecutableDiff& diff);

// A patch turning `original` into `current`, which must be of one length. Throws PatchError.
std::vector<std::uint8_t> makeModPatch(PatchFormat format, std::span<const std::uint8_t> original,
                                       std::span<const std::uint8_t> current);

struct MadePatch {
    std::vector<std::uint8_t> bytes;
    ExecutableDiff diff;
    // Changed bytes outside the tables: in the patch, but applying it here would be refused.
    std::vector<ByteRange> outside;
};

// The patch from the file `original` (of the executable's length) to `current`. Throws
// PatchError naming the file when it cannot be read, is of another length or holds no
// difference.
MadePatch makePatchFromFile(PatchFormat format, const std::filesystem::path& original,
                            std::span<const std::uint8_t> current, const ByteRanges& writable);
// The same from the bytes `before` already read from the file `original`.
MadePatch makePatchFrom(PatchFormat format, const std::filesystem::path& original,
                        std::span<const std::uint8_t> before, std::span<const std::uint8_t> current,
                        const ByteRanges& writable);

// The changed bytes of `current` against `original` that lie outside `writable`, merged.
std::vector<ByteRange> outsideRanges(std::span<const std::uint8_t> original,
                                     std::span<const std::uint8_t> current,
                                     const ByteRanges& writable);
// "0x001000–0x00100F（16 字节）、…", at most a few ranges and a count of the rest.
std::string rangesText(const std::vector<ByteRange>& ranges);

struct PatchPlan {
    PatchFormat format = PatchFormat::Bps;
    std::string metadata;               // BPS only; empty when the patch has none
    std::vector<std::uint8_t> current;  // the executable as the patch was checked against it
    std::vector<std::uint8_t> patched;
    std::vector<ByteRange> blocks;  // what the write reads and replaces: changed runs, merged
    ExecutableDiff diff;            // the fields that change
};

// Applies `patch` to `current` in memory and checks the result: same length, and no byte
// changed outside `writable`. Throws PatchError saying why not; nothing is written either way.
PatchPlan planPatch(std::span<const std::uint8_t> patch, std::vector<std::uint8_t> current,
                    const ByteRanges& writable);

// The write of a plan: it refuses when the file no longer holds, in any of the blocks, what
// the patch was checked against (another program wrote in between). `plan` must outlive it.
Change patchChange(const PatchPlan& plan, const std::string& label);

}  // namespace vorlan
