#pragma once
// Copying the game executable out of a disc image: the 3542016 bytes from sector 362, after
// the checks a replacement makes on the image (layout, directories, an interrupted write),
// and only when they are a whole 32-bit little-endian MIPS ELF executable. The copy is an
// output file like an export: made new, or in place of a regular file when asked, never of
// the image itself, its saved regions, or anything the caller keeps.

#include <filesystem>
#include <string>

#include "io/file_ops.h"
#include "io/output_file.h"

namespace vorlan {

struct ImageExtract {
    bool ok = false;
    // Refused only because something is at the output's name and `replace` was not given.
    bool outputExists = false;
    std::string message;  // why nothing was written, in Chinese
};

// What a regular file at an output's name is when it is one kept beside some disc image (a
// saved region, a replace mark), whatever its name; empty when it is none (a KeptFiles
// recogniser, so that no output of any kind replaces one).
std::string keptBesideAnImage(FileOps& ops, const std::filesystem::path& path,
                              const FileStatus& st);

// What an output's name is when the program keeps files of that name beside a disc image:
// "<image>.SLKV_618.04.…" (in any case) with a file "<image>" in the same folder; empty
// otherwise. A KeptFiles name check: such a name is refused whether or not a file holds it.
std::string namedBesideAnImage(FileOps& ops, const std::filesystem::path& path);

// The two rules above, for every output of the program.
KeptFiles keptBesideImages();

// Writes the executable inside `image` as `out`; `replace`: in place of a regular file there.
// Nothing is written when the image fails a check or the bytes are not the game's kind of
// executable, and a failed write leaves no file behind.
ImageExtract extractExecutable(const std::filesystem::path& image, const std::filesystem::path& out,
                               bool replace, const KeptFiles& kept = {}, FileOps* ops = nullptr);

}  // namespace vorlan
