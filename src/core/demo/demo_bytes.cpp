#include "demo/demo_bytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <stdexcept>
#include <string>

#include "text/char_table.h"
#include "text/utf8.h"

namespace vorlan::demo {

namespace {

std::optional<unsigned> hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    return std::nullopt;
}

// The two bytes of a four-digit code text, or nothing when it is not one.
std::optional<std::array<std::uint8_t, 2>> codeBytes(const std::string& code) {
    if (code.size() != 4)
        return std::nullopt;
    std::array<std::uint8_t, 2> out{};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto hi = hexDigit(code[2 * i]);
        const auto lo = hexDigit(code[2 * i + 1]);
        if (!hi || !lo)
            return std::nullopt;
        out[i] = static_cast<std::uint8_t>(*hi * 16 + *lo);
    }
    return out;
}

}  // namespace

const FieldDef& FieldWriter::field(const std::string& key) const {
    const FieldDef* f = table_.field(key);
    if (f == nullptr)
        throw std::logic_error("the " + table_.name + " table has no field " + key);
    return *f;
}

void FieldWriter::set(const std::string& key, std::uint32_t value) {
    const FieldDef& f = field(key);
    const auto at =
        bytes_.subspan(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width));
    if (f.mask == 0) {
        storeLe(at, value);
        return;
    }
    const int shift = std::countr_zero(f.mask);
    at[0] = static_cast<std::uint8_t>((at[0] & ~f.mask) | ((value << shift) & f.mask));
}

void FieldWriter::clear(const std::string& key) {
    const FieldDef& f = field(key);
    ByteWriter(bytes_).zero(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width));
}

void FieldWriter::name(const std::string& key, const std::vector<std::uint8_t>& codes) {
    const FieldDef& f = field(key);
    ByteWriter(bytes_).name(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width),
                            codes);
}

void ByteWriter::zero(std::size_t offset, std::size_t size) {
    const auto part = bytes_.subspan(offset, size);
    std::fill(part.begin(), part.end(), std::uint8_t{0});
}

void ByteWriter::name(std::size_t offset, std::size_t width,
                      const std::vector<std::uint8_t>& codes) {
    zero(offset, width);
    std::copy_n(codes.begin(), std::min(codes.size(), width), bytes_.subspan(offset).begin());
}

std::vector<std::uint8_t> encodeName(const CharTable& chars, std::string_view text,
                                     std::size_t maxChars) {
    std::vector<std::uint8_t> out;
    for (const std::string& c : utf8::characters(text)) {
        if (out.size() / 2 >= maxChars)
            break;
        const auto code = chars.codeOf(c);
        if (!code)
            continue;
        const auto bytes = codeBytes(*code);
        if (!bytes || (*bytes)[0] == 0 || (*bytes)[1] == 0)
            continue;
        if (chars.decode(*code) != c)
            continue;
        out.push_back((*bytes)[0]);
        out.push_back((*bytes)[1]);
    }
    return out;
}

}  // namespace vorlan::demo
