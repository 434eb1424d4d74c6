#pragma once
// The field access layer: every read and write of game data moves 1, 2, 4 or N bytes at
// the 1-based cursor `curpos` and advances it by the bytes moved. Numbers are
// little-endian. Text forms: stored order (bytes as they stand in the file) and value
// order (the same bytes last to first, i.e. the hexadecimal form of the number).

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "access/byte_store.h"

namespace vorlan {

// A value outside an operation's limits. Never truncated, never written.
class RangeError : public std::range_error {
public:
    using std::range_error::range_error;
};

enum HexOrder : int { StoredOrder = 0, ValueOrder = 1 };

// Unsigned value of a hexadecimal text; a character that is no hex digit counts as 0.
std::uint64_t hextonum(std::string_view text);
// The same digit rules, limited to one byte; throws RangeError above 255.
std::uint8_t hextobyte(std::string_view text);
// Width 2: a one-character text gets a leading "0". Width 4: left-pad to four characters,
// then swap the halves, giving the stored-order text of a 16-bit number.
std::string padhex(std::string_view text, int width);
// Two upper-case hex digits of a byte.
std::string hexbyte(std::uint8_t b);

class FieldAccess {
public:
    explicit FieldAccess(ByteStore& store) : store_(store) {}

    // 1-based position of the next byte to move; the file offset is curpos - 1.
    std::int32_t curpos = 1;

    std::string readhex(int count, int order);
    std::uint8_t getbyte();
    std::string gethex16();
    std::uint16_t get16();
    std::int32_t get32();

    void putbyte(std::int64_t v);
    void put16(std::int64_t v);
    void put32(std::int64_t v);
    void puthexbyte(std::string_view text);
    void puthex16(std::string_view text);
    void puthex32(std::string_view text);

    void skip(int count) { advance(count); }

private:
    std::uint64_t offset() const;
    void advance(int count);
    void writeRaw(std::uint8_t b);
    ByteStore& store_;
};

}  // namespace vorlan
