// Encodings of byte runs shown as hexadecimal text in stored order.

#include <cctype>

#include "schema/encoding.h"
#include "schema/numeric_field.h"
#include "schema/table_def.h"

namespace vorlan {

namespace {

std::string_view trimBlanks(std::string_view t) {
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    return t;
}

bool allHex(std::string_view t) {
    for (char c : t) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

class HexRun final : public Encoding {
public:
    ValueKind kind() const override { return ValueKind::Text; }
    std::string name() const override { return "hex-run"; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        return FieldValue::ofText(fa.readhex(f.width, StoredOrder));
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        const std::string_view t = trimBlanks(v.text);
        const auto maxDigits = 2 * static_cast<std::size_t>(f.width);
        // Whole bytes only: a lone last digit would be stored as a byte's low half.
        if (t.empty() || t.size() > maxDigits || t.size() % 2 != 0 || !allHex(t))
            return false;
        for (std::size_t i = 0; i < static_cast<std::size_t>(f.width); ++i) {
            fa.puthexbyte(2 * i < t.size() ? t.substr(2 * i, 2) : std::string_view{});
        }
        return true;
    }

    std::string accepted(const FieldDef& f) const override {
        return "应为偶数位的十六进制数字（每两位一个字节），最多 " + toDecimal(2 * f.width) + " 位";
    }
};

class NameCode final : public Encoding {
public:
    explicit NameCode(std::string terminator) : terminator_(std::move(terminator)) {}

    ValueKind kind() const override { return ValueKind::Text; }
    std::string name() const override { return "name-code"; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        std::string text = fa.readhex(f.width, StoredOrder);
        // The search runs over character positions, so it may cut inside a byte. A field
        // without a terminator shows all its digits.
        const auto cut = text.find(terminator_);
        if (cut != std::string::npos)
            text.resize(cut);
        if (text.size() % 2 == 1)
            text += '0';
        return FieldValue::ofText(text);
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        const std::string_view t = trimBlanks(v.text);
        if (!allHex(t))
            return false;
        const auto digits = 2 * static_cast<std::size_t>(f.width);
        std::string full(t.substr(0, digits));
        full.resize(digits, '0');
        for (std::size_t i = 0; i < digits; i += 2) {
            fa.puthexbyte(std::string_view(full).substr(i, 2));
        }
        return true;
    }

    std::string accepted(const FieldDef& f) const override {
        return "应为十六进制字码（每个字符四位，最多 " + toDecimal(2 * f.width) + " 位）";
    }

private:
    std::string terminator_;
};

}  // namespace

EncodingPtr hexRun() {
    static const auto e = std::make_shared<HexRun>();
    return e;
}

EncodingPtr nameCode(std::string terminator) {
    return std::make_shared<NameCode>(std::move(terminator));
}

}  // namespace vorlan
