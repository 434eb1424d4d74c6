#pragma once
// The name PCSX2 looks for a memory patch under, in its cheats folder: "SERIAL_CRC.pnach",
// the serial being the executable's name on the disc without "." and with "-" for "_"
// ("SLKV-61804"), the CRC the XOR of every little-endian 32-bit word of the executable as
// it is on the disc (the unmodified one).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vorlan {

// The game's executable on the disc.
inline constexpr std::string_view kDiscExecutableName = "SLKV_618.04";
// Where the emulator looks for the file, as messages name it.
inline constexpr std::string_view kPnachFolder = "PCSX2 的 cheats 文件夹";

// "SLKV_618.04" -> "SLKV-61804".
std::string pnachSerial(std::string_view executableName);

// XOR of the little-endian 32-bit words; a tail of fewer than four bytes is left out.
std::uint32_t pnachCrc(std::span<const std::uint8_t> executable);

// "SLKV-61804_1A2B3C4D.pnach" for the unmodified executable `original`.
std::string pnachFileName(std::span<const std::uint8_t> original);

}  // namespace vorlan
