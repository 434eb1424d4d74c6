// Numeric encodings: decimal, signed decimal, hexadecimal number, icon toggle.

#include <bit>
#include <cctype>

#include "schema/encoding.h"
#include "schema/number_text.h"
#include "schema/numeric_field.h"

namespace vorlan {

namespace {

constexpr std::int64_t k2to32 = 0x1'0000'0000LL;

std::string rangeText(std::int64_t lo, std::int64_t hi) {
    return "应为 " + toDecimal(lo) + " 到 " + toDecimal(hi) + " 之间的整数";
}

class Decimal final : public Encoding {
public:
    ValueKind kind() const override { return ValueKind::Text; }
    std::string name() const override { return "decimal"; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        return FieldValue::ofText(toDecimal(readNumber(fa, f)));
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        const auto n = textToNumber(v.text);
        if (!n || *n < lowest(f) || *n > static_cast<std::int64_t>(maxNumber(f)))
            return false;
        writeNumber(fa, f, static_cast<std::uint32_t>(*n < 0 ? *n + k2to32 : *n));
        return true;
    }

    std::string accepted(const FieldDef& f) const override {
        return rangeText(lowest(f), maxNumber(f));
    }

private:
    // A whole 32-bit field also takes the signed range, stored in two's complement.
    static std::int64_t lowest(const FieldDef& f) {
        return (f.width == 4 && f.mask == 0) ? -(k2to32 / 2) : 0;
    }
};

class SignedDecimal final : public Encoding {
public:
    ValueKind kind() const override { return ValueKind::Text; }
    std::string name() const override { return "signed"; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        const std::int64_t v = readNumber(fa, f);
        const std::int64_t span = std::int64_t{1} << (8 * f.width);
        return FieldValue::ofText(toDecimal(v >= span / 2 ? v - span : v));
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        const std::int64_t span = std::int64_t{1} << (8 * f.width);
        const auto n = textToNumber(v.text);
        if (!n || *n < -span / 2 || *n > span - 1)
            return false;
        writeNumber(fa, f, static_cast<std::uint32_t>(*n < 0 ? *n + span : *n));
        return true;
    }

    std::string accepted(const FieldDef& f) const override {
        const std::int64_t span = std::int64_t{1} << (8 * f.width);
        return rangeText(-span / 2, span - 1);
    }
};

class HexNumber final : public Encoding {
public:
    ValueKind kind() const override { return ValueKind::Text; }
    std::string name() const override { return "hex"; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        std::string text;
        std::uint32_t v = readNumber(fa, f);
        for (int i = 0; i < digits(f); ++i, v >>= 4) {
            text.insert(text.begin(), "0123456789ABCDEF"[v & 0xF]);
        }
        return FieldValue::ofText(text);
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        std::string_view t = v.text;
        while (!t.empty() && t.front() == ' ')
            t.remove_prefix(1);
        while (!t.empty() && t.back() == ' ')
            t.remove_suffix(1);
        if (t.empty() || t.size() > 8)
            return false;
        for (char c : t) {
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return false;
        }
        const std::uint64_t n = hextonum(t);
        if (n > maxNumber(f))
            return false;
        writeNumber(fa, f, static_cast<std::uint32_t>(n));
        return true;
    }

    std::string accepted(const FieldDef& f) const override {
        if (digits(f) == 1)
            return "应为一位十六进制数字（0 到 F）";
        std::string top(static_cast<std::size_t>(digits(f)), 'F');
        return "应为十六进制数（0 到 " + top + "）";
    }

private:
    static int digits(const FieldDef& f) {
        if (f.mask != 0)
            return (std::popcount(static_cast<unsigned>(f.mask)) + 3) / 4;
        return 2 * f.width;
    }
};

class Toggle final : public Encoding {
public:
    ValueKind kind() const override { return ValueKind::Toggle; }
    std::string name() const override { return "toggle"; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        return FieldValue::ofToggle(readNumber(fa, f) != 0);
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        writeNumber(fa, f, v.on ? 1 : 0);
        return true;
    }

    std::string accepted(const FieldDef&) const override { return "应为 0（关）或 1（开）"; }
};

}  // namespace

const std::vector<std::string>& Encoding::items() const {
    static const std::vector<std::string> none;
    return none;
}

EncodingPtr decimal() {
    static const auto e = std::make_shared<Decimal>();
    return e;
}

EncodingPtr signedDecimal() {
    static const auto e = std::make_shared<SignedDecimal>();
    return e;
}

EncodingPtr hexNumber() {
    static const auto e = std::make_shared<HexNumber>();
    return e;
}

EncodingPtr toggle() {
    static const auto e = std::make_shared<Toggle>();
    return e;
}

}  // namespace vorlan
