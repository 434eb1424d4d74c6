#pragma once
// The key that proves a saved region was saved by this program for this user on this
// computer: 32 random bytes, made once per user at $XDG_CONFIG_HOME/vorlan/region.key
// (~/.config/vorlan/region.key), readable by that user only. Every saved region carries an
// HMAC-SHA-256 of its bytes and trailer under it; a file whose MAC does not verify is never
// written into an image. A key file that is not a private, whole one of this user's is
// refused, naming it, and never replaced: the regions saved under it would be lost.

#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>

namespace vorlan {

inline constexpr std::size_t kRegionKeySize = 32;
inline constexpr std::size_t kRegionKeyIdSize = 8;
inline constexpr std::size_t kRegionMacSize = 32;

using RegionMac = std::array<std::uint8_t, kRegionMacSize>;
using RegionKeyId = std::array<std::uint8_t, kRegionKeyIdSize>;

class RegionKey {
public:
    explicit RegionKey(const std::array<std::uint8_t, kRegionKeySize>& secret);
    ~RegionKey();
    RegionKey(const RegionKey&) = default;
    RegionKey& operator=(const RegionKey&) = default;

    // Names the key in a trailer without revealing it, so that a refusal can tell a region
    // saved elsewhere from one altered here.
    const RegionKeyId& id() const { return id_; }
    // HMAC-SHA-256 of the parts, one after the other.
    RegionMac mac(std::initializer_list<std::span<const std::uint8_t>> parts) const;
    // Whether `mac` is the MAC of the parts (compared in constant time).
    bool verifies(const RegionMac& mac,
                  std::initializer_list<std::span<const std::uint8_t>> parts) const;

private:
    std::array<std::uint8_t, kRegionKeySize> secret_;
    RegionKeyId id_{};
};

// $XDG_CONFIG_HOME/vorlan/region.key (XDG_CONFIG_HOME only when absolute), else
// $HOME/.config/vorlan/region.key, else the same under the user's home from the password
// database; empty when there is none.
std::filesystem::path regionKeyPath();
// Where the key is, in the system's own words for a person ("~/.config/vorlan/region.key",
// "%APPDATA%\\vorlan\\region.key").
std::string regionKeyPlace();

// This user's key, made (and its folder, mode 0700, when missing) at the first call.
// Throws ImageRefusal naming the key file when it cannot be used or made.
RegionKey loadRegionKey();

}  // namespace vorlan
