#include "access/field_access.h"

#include <array>
#include <limits>
#include <span>
#include <string_view>

#include "access/byte_order.h"

namespace vorlan {

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

std::string upperHex(std::uint64_t v) {
    static constexpr char digits[] = "0123456789ABCDEF";
    if (v == 0)
        return "0";
    std::string out;
    while (v != 0) {
        out.insert(out.begin(), digits[v & 0xF]);
        v >>= 4;
    }
    return out;
}

std::string_view pairAt(std::string_view text, std::size_t first) {
    if (first >= text.size())
        return {};
    return text.substr(first, 2);
}

}  // namespace

std::uint64_t hextonum(std::string_view text) {
    std::uint64_t result = 0;
    for (char c : text) {
        result = result * 16 + static_cast<std::uint64_t>(digitValue(c));
    }
    return result;
}

std::uint8_t hextobyte(std::string_view text) {
    std::uint32_t v = 0;
    for (char c : text) {
        v = v * 16 + static_cast<std::uint32_t>(digitValue(c));
        if (v > 255) {
            throw RangeError("hex text exceeds one byte: " + std::string(text));
        }
    }
    return static_cast<std::uint8_t>(v);
}

std::string padhex(std::string_view text, int width) {
    std::string t(text);
    if (width == 2) {
        return t.size() == 1 ? "0" + t : t;
    }
    if (width != 4 || t.size() > 4) {
        throw std::invalid_argument("padhex: unsupported width or text");
    }
    t.insert(0, 4 - t.size(), '0');
    return t.substr(2, 2) + t.substr(0, 2);
}

std::string hexbyte(std::uint8_t b) {
    return padhex(upperHex(b), 2);
}

std::uint64_t FieldAccess::offset() const {
    if (curpos < 1) {
        throw AccessError("cursor before the start of the file: " + std::to_string(curpos));
    }
    return static_cast<std::uint64_t>(curpos) - 1;
}

void FieldAccess::advance(int count) {
    if (count < 0 || curpos > std::numeric_limits<std::int32_t>::max() - count) {
        throw RangeError("cursor overflow");
    }
    curpos += count;
}

std::string FieldAccess::readhex(int count, int order) {
    if (count < 1 || count > 255) {
        throw std::invalid_argument("readhex: count must be 1..255");
    }
    std::array<std::uint8_t, 255> buffer{};
    const std::span bytes(buffer.data(), static_cast<std::size_t>(count));
    store_.read(offset(), bytes);
    // Each byte as hexbyte writes it, in stored order or the last byte first; written in
    // place, as the grid reads a name of every row for each first filter keystroke.
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string text(bytes.size() * 2, '0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t at = 2 * (order == StoredOrder ? i : bytes.size() - 1 - i);
        text[at] = kDigits[bytes[i] >> 4];
        text[at + 1] = kDigits[bytes[i] & 0x0F];
    }
    advance(count);
    return text;
}

std::uint8_t FieldAccess::getbyte() {
    std::array<std::uint8_t, 1> b{};
    store_.read(offset(), b);
    advance(1);
    return b[0];
}

std::string FieldAccess::gethex16() {
    return readhex(2, StoredOrder);
}

std::uint16_t FieldAccess::get16() {
    std::array<std::uint8_t, 2> b{};
    store_.read(offset(), b);
    advance(2);
    return loadLe<std::uint16_t>(b);
}

std::int32_t FieldAccess::get32() {
    std::array<std::uint8_t, 4> b{};
    store_.read(offset(), b);
    advance(4);
    return static_cast<std::int32_t>(loadLe<std::uint32_t>(b));
}

void FieldAccess::writeRaw(std::uint8_t b) {
    const std::array<std::uint8_t, 1> one{b};
    store_.write(offset(), one);
    advance(1);
}

void FieldAccess::putbyte(std::int64_t v) {
    if (v < 0 || v > 255) {
        throw RangeError("putbyte: " + std::to_string(v) + " is outside 0..255");
    }
    writeRaw(static_cast<std::uint8_t>(v));
}

void FieldAccess::put16(std::int64_t v) {
    if (v < 0 || v > 65535) {
        throw RangeError("put16: " + std::to_string(v) + " is outside 0..65535");
    }
    const std::string stored = padhex(upperHex(static_cast<std::uint64_t>(v)), 4);
    // Check the whole value before the first byte moves, so a field is never half-written.
    const std::uint8_t lo = hextobyte(stored.substr(0, 2));
    const std::uint8_t hi = hextobyte(stored.substr(2, 2));
    putbyte(lo);
    putbyte(hi);
}

void FieldAccess::put32(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max()) {
        throw RangeError("put32: " + std::to_string(v) + " is outside the signed 32-bit range");
    }
    std::string text = upperHex(static_cast<std::uint32_t>(static_cast<std::int32_t>(v)));
    text.insert(0, 8 - text.size(), '0');
    std::array<std::uint8_t, 4> bytes{};
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] =
            hextobyte(text.substr(6 - 2 * static_cast<std::size_t>(i), 2));
    }
    for (std::uint8_t b : bytes) {
        writeRaw(b);
    }
}

void FieldAccess::puthexbyte(std::string_view text) {
    putbyte(hextobyte(text));
}

void FieldAccess::puthex16(std::string_view text) {
    const std::uint8_t b0 = hextobyte(pairAt(text, 0));
    const std::uint8_t b1 = hextobyte(pairAt(text, 2));
    writeRaw(b0);
    writeRaw(b1);
}

void FieldAccess::puthex32(std::string_view text) {
    std::array<std::uint8_t, 4> bytes{};
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[i] = hextobyte(pairAt(text, 2 * i));
    }
    for (std::uint8_t b : bytes) {
        writeRaw(b);
    }
}

}  // namespace vorlan
