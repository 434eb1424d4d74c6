#pragma once
// Encodings of the field engine: how a field's bytes become the value a control shows and
// how an edited value becomes bytes again. Each encoding reads and writes through the
// field access layer at `curpos`, which the engine sets to the field's first byte.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "access/field_access.h"
#include "schema/field_value.h"

namespace vorlan {

struct FieldDef;

// Name lists loaded from the data folder, for choice boxes whose items are names.
enum class NameList { None, Units, Pilots, Skills };

class Encoding {
public:
    virtual ~Encoding() = default;
    virtual ValueKind kind() const = 0;
    // Short English name, listed by `vorlan-cli fields`.
    virtual std::string name() const = 0;
    virtual FieldValue read(FieldAccess& fa, const FieldDef& f) const = 0;
    // Converts `v` and writes it at curpos. Returns false, having written nothing, when
    // the value is not acceptable for the field.
    virtual bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const = 0;
    // The accepted values in words, for the message that refuses a bad one.
    virtual std::string accepted(const FieldDef& f) const = 0;

    // Vocabulary of a choice box or multi-select list (empty for name-list choices).
    virtual const std::vector<std::string>& items() const;
    virtual NameList nameList() const { return NameList::None; }
    // Number of items a choice may pick from.
    virtual int itemCount() const { return static_cast<int>(items().size()); }
};

using EncodingPtr = std::shared_ptr<const Encoding>;

// Unsigned little-endian number shown in decimal. Width 4 also takes negative texts,
// stored in two's complement, so every shown value and every signed input fits.
EncodingPtr decimal();
// Little-endian number in two's complement, shown with its sign. Accepts the signed range
// and, for compatibility with the unsigned view of the same bytes, up to the unsigned max.
EncodingPtr signedDecimal();
// A number shown as upper-case hexadecimal digits, two per byte (one per nibble field).
// Input: hex digits only, either case, within the field's range.
EncodingPtr hexNumber();
// A run of bytes shown in stored order as hexadecimal text; written pair by pair, pairs
// beyond the end of the text writing 00.
EncodingPtr hexRun();
// A choice box: the stored number is the index of the chosen item.
EncodingPtr choice(std::vector<std::string> items);
// A choice whose items are one of the name lists of the data folder.
EncodingPtr nameChoice(NameList list, int count);
// A choice with explicit stored values: item i stores values[i]; `aliases` are further
// stored values shown as an item (written back, when picked, as that item's value).
EncodingPtr mappedChoice(std::vector<std::string> items, std::vector<std::uint32_t> values,
                         std::vector<std::pair<std::uint32_t, int>> aliases);
// Game name codes: stored-order hex text cut before the first `terminator` ("0000" or
// "00"), an odd-length result completed with "0"; written as pairs from the left,
// zero-filled to the field's width, digits beyond the width ignored.
EncodingPtr nameCode(std::string terminator);
// A 16-bit set shown as a multi-select list in which item k stands for bit 15 - k.
EncodingPtr reversedBitSet(std::vector<std::string> items);
// One bit (the field's mask) shown as an icon toggle.
EncodingPtr toggle();

}  // namespace vorlan
