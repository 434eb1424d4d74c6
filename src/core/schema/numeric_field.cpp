#include "schema/numeric_field.h"

#include <bit>

namespace vorlan {

namespace {

int shiftOf(std::uint8_t mask) {
    return std::countr_zero(static_cast<unsigned>(mask));
}

}  // namespace

std::uint32_t readNumber(FieldAccess& fa, const FieldDef& f) {
    const auto raw = static_cast<std::uint32_t>(hextonum(fa.readhex(f.width, ValueOrder)));
    if (f.mask == 0)
        return raw;
    return (raw & f.mask) >> shiftOf(f.mask);
}

std::uint32_t maxNumber(const FieldDef& f) {
    if (f.mask != 0)
        return static_cast<std::uint32_t>(f.mask) >> shiftOf(f.mask);
    if (f.width >= 4)
        return 0xFFFFFFFFu;
    return (1u << (8 * f.width)) - 1;
}

void writeNumber(FieldAccess& fa, const FieldDef& f, std::uint32_t v) {
    if (f.mask != 0) {
        const std::int32_t at = fa.curpos;
        const std::uint8_t old = fa.getbyte();
        fa.curpos = at;
        const auto bits = static_cast<std::uint8_t>((v << shiftOf(f.mask)) & f.mask);
        fa.putbyte((old & ~f.mask & 0xFF) | bits);
        return;
    }
    switch (f.width) {
        case 1:
            fa.putbyte(v);
            break;
        case 2:
            fa.put16(v);
            break;
        case 4:
            fa.put32(static_cast<std::int32_t>(v));
            break;
        default:
            throw std::invalid_argument("numeric field of width " + std::to_string(f.width));
    }
}

std::string toDecimal(std::int64_t v) {
    return std::to_string(v);
}

}  // namespace vorlan
