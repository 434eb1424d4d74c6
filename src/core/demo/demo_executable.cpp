#include "demo/demo_executable.h"

#include <span>

#include "demo/demo_bytes.h"
#include "demo/demo_records.h"
#include "demo/demo_tables.h"
#include "tables/unit_table.h"

namespace vorlan {

namespace {

// The loadable segment starts here; everything before it is ELF headers and zeros.
constexpr std::uint32_t kSegmentOffset = 0x1000;
constexpr std::uint32_t kLoadAddress = 0x00100000;

// Bytes outside the tables: a fixed stream that looks like code or data and makes
// stray writes easy to spot.
void fillBackground(std::span<std::uint8_t> image) {
    std::uint32_t state = 0x2F6B1D5BU;
    for (std::uint8_t& byte : image) {
        state = state * 1664525U + 1013904223U;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
}

// A 32-bit little-endian MIPS executable header with one loadable segment.
void writeElfHeader(demo::ByteWriter out) {
    out.zero(0, kSegmentOffset);
    constexpr std::uint8_t kIdent[] = {0x7F, 'E', 'L', 'F', 1 /* 32-bit */, 1 /* little-endian */,
                                       1 /* version */};
    for (std::size_t i = 0; i < sizeof kIdent; ++i)
        out.u8(i, kIdent[i]);
    out.u16(16, 2);  // executable file
    out.u16(18, 8);  // MIPS
    out.u32(20, 1);
    out.u32(24, kLoadAddress + 8);  // entry point
    out.u32(28, 52);                // program headers follow this header
    out.u32(32, 0);                 // no section headers
    out.u32(36, 0x20924001);        // flags of the console's MIPS variant
    out.u16(40, 52);
    out.u16(42, 32);
    out.u16(44, 1);
    out.u16(46, 40);
    demo::ByteWriter segment = out.sub(52, 32);
    const auto fileSize = static_cast<std::uint32_t>(kDemoSize) - kSegmentOffset;
    segment.u32(0, 1);  // loadable
    segment.u32(4, kSegmentOffset);
    segment.u32(8, kLoadAddress);
    segment.u32(12, kLoadAddress);
    segment.u32(16, fileSize);
    segment.u32(20, fileSize + 0x40000);  // plus zero-filled memory
    segment.u32(24, 7);                   // read, write, execute
    segment.u32(28, 0x10);
}

using demo::unitHeader;
using demo::weaponSlot;

// Values at the edges of their fields, on the first units, so that they are easy to find
// when trying the editor out. Every unit has a weapon in slot 0.
void writeEdgeValues(std::span<std::uint8_t> image) {
    const auto unit = [&](int i) { return demo::FieldWriter(unitHeader(image, i), unitTable()); };
    unit(1).set("hp", 100000);  // HP above 16 bits
    demo::FieldWriter(weaponSlot(image, 1, 0), weaponTable()).set("hit", 0xFFF6);  // -10
    unit(2).set("move-type", 10);  // stored 10, shown as the ninth item
    // Icon toggles with the unused high bits set.
    demo::ByteWriter(unitHeader(image, 3)).u8(unitTable().field("icon0")->offset, 0xF5);
    demo::FieldWriter unit4 = unit(4);
    unit4.set("cost", 0xFF);
    unit4.set("repair", 65535);
    unit4.set("step-en", 10);
    unit4.set("step-hp", 5);
    unit4.set("step-armor", 3);
    unit4.set("step-mobility", 15);
}

}  // namespace

std::vector<std::uint8_t> makeDemoExecutable(const CharTable& chars) {
    std::vector<std::uint8_t> bytes(kDemoSize);
    const std::span<std::uint8_t> image(bytes);
    fillBackground(image);
    writeElfHeader(demo::ByteWriter(image));
    // The last part entry's unshown tail overlaps the first pilot record by four bytes;
    // the pilots are written after the parts so that those bytes hold the pilot's data.
    demo::writeParts(image);
    demo::writePilots(image, chars);
    demo::writeUnits(image, chars);
    demo::writeUpgradeCosts(image);
    demo::writeWeaponUpgrades(image);
    demo::writeSkillTraining(image);
    demo::writeGuts(image);
    demo::writeBarriers(image);
    demo::writeSkillCorrections(image);
    demo::writeProtagonistSpirits(image);
    writeEdgeValues(image);
    return bytes;
}

}  // namespace vorlan
