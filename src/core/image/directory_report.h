#pragma once
// What reading an image's directories found, in a form small enough to pass from the child
// process that reads them (see directory_reader.h) back to the program over a pipe, and the
// Chinese message it becomes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlan {

struct DirectoryReport {
    enum class Verdict : std::uint8_t {
        Ok,
        Damaged,              // the structures cannot be read safely: see `damage`
        NoExecutable,         // no SLKV_618.04 in the root directory
        ExecutableElsewhere,  // SLKV_618.04 is not at sector 362 with 3542016 bytes
        Overlap,              // another structure lies inside the executable's sectors
    };
    enum class System : std::uint8_t { Iso9660, Udf };
    enum class Structure : std::uint8_t { None, Descriptor, PathTable, Directory, File };
    enum class Damage : std::uint8_t {
        None,
        DescriptorSet,  // no volume descriptor set ending where it must
        OutsideImage,   // a directory or path table beyond the end of the image
        Record,         // a directory record or path table entry of impossible shape
        TooLarge,       // more, larger or deeper directories than any disc has
        Reader,         // the reading process crashed or answered nonsense
        Timeout,        // the reading process did not finish in time
    };

    Verdict verdict = Verdict::Ok;
    System system = System::Iso9660;
    Structure structure = Structure::None;
    Damage damage = Damage::None;
    std::uint64_t sector = 0;  // where the structure or file starts
    std::uint64_t length = 0;  // its length in bytes
    std::string name;          // its path in the image (printable ASCII, bounded)

    bool operator==(const DirectoryReport&) const = default;
};

DirectoryReport damaged(DirectoryReport::Damage why,
                        DirectoryReport::System system = DirectoryReport::System::Iso9660);

// One line of text; decodeReport accepts exactly what encodeReport makes and nothing else.
std::string encodeReport(const DirectoryReport& report);
std::optional<DirectoryReport> decodeReport(std::string_view text);

// At most this many bytes of a name are kept; other bytes than printable ASCII become '?'.
std::string reportName(std::string_view name);

// The refusal for `image` (the path as the user gave it); empty for Ok.
std::string describeReport(const DirectoryReport& report, const std::string& image);

}  // namespace vorlan
