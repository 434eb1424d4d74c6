#pragma once
// Sharing a mod without sharing the game: a BPS or IPS patch (of the file) or a PCSX2 .pnach
// (of the memory the emulator loads it into) made from an original copy of the executable to
// an edited one, and the plan for applying one to the open executable: the patched bytes, the
// fields they change, and the one change that writes them through the document.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bulk/diff.h"
#include "bulk/patch_error.h"
#include "document/document.h"
#include "schema/name_source.h"

namespace vorlan {

enum class PatchFormat { Bps, Ips, Pnach };

const char* formatName(PatchFormat format);
// The format a patch's first bytes name ("BPS1" or "PATCH"), if any.
std::optional<PatchFormat> formatOfPatch(std::span<const std::uint8_t> patch);
// The format a file name asks for (".bps", ".ips" or ".pnach", in any case), if any.
std::optional<PatchFormat> formatOfName(const std::filesystem::path& path);

// The text a BPS patch carries: a first line naming the program and the executable, then
// "table:index" of every entry whose fields changed, one a line.
std::string changedEntriesNote(const ExecutableDiff& diff);

// How many entries have a changed field.
std::size_t changedEntryCount(const ExecutableDiff& diff);

// A patch turning `original` into `current`, which must be of one length. A .pnach names the
// changed fields in comments, their entries labelled from `names` (may be null); it is
// refused when a change lies outside every loaded segment. Throws PatchError.
std::vector<std::uint8_t> makeModPatch(PatchFormat format, std::span<const std::uint8_t> original,
                                       std::span<const std::uint8_t> current,
                                       const ByteRanges& writable, NameSource* names = nullptr);

struct MadePatch {
    std::vector<std::uint8_t> bytes;
    ExecutableDiff diff;
    // Changed bytes outside the tables: in the patch, but applying it here would be refused.
    std::vector<ByteRange> outside;
    // .pnach only: the name the emulator looks for it under (see bulk/pnach_name.h).
    std::string emulatorName;
};

// The patch from the file `original` (of the executable's length) to `current`. Throws
// PatchError naming the file when it cannot be read, is of another length or holds no
// difference.
MadePatch makePatchFromFile(PatchFormat format, const std::filesystem::path& original,
                            std::span<const std::uint8_t> current, const ByteRanges& writable,
                            NameSource* names = nullptr);
// The same from the bytes `before` already read from the file `original`.
MadePatch makePatchFrom(PatchFormat format, const std::filesystem::path& original,
                        std::span<const std::uint8_t> before, std::span<const std::uint8_t> current,
                        const ByteRanges& writable, NameSource* names = nullptr);

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
// changed outside `writable`. The format is the one the patch's first bytes name, else .pnach
// when the file's `name` ends so. Throws PatchError saying why not; nothing is written either
// way.
PatchPlan planPatch(std::span<const std::uint8_t> patch, std::vector<std::uint8_t> current,
                    const ByteRanges& writable, const std::filesystem::path& name = {});

// The write of a plan: it refuses when the file no longer holds, in any of the blocks, what
// the patch was checked against (another program wrote in between). `plan` must outlive it.
Change patchChange(const PatchPlan& plan, const std::string& label);

}  // namespace vorlan
