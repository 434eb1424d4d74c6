// Encodings of choice boxes and multi-select lists.

#include <algorithm>

#include "schema/encoding.h"
#include "schema/numeric_field.h"

namespace vorlan {

namespace {

class Choice final : public Encoding {
public:
    Choice(std::vector<std::string> items, std::vector<std::uint32_t> values,
           std::vector<std::pair<std::uint32_t, int>> aliases, NameList list, int count)
        : items_(std::move(items)),
          values_(std::move(values)),
          aliases_(std::move(aliases)),
          list_(list),
          count_(list == NameList::None ? static_cast<int>(items_.size()) : count) {}

    ValueKind kind() const override { return ValueKind::Choice; }
    std::string name() const override { return list_ == NameList::None ? "choice" : "name-choice"; }
    const std::vector<std::string>& items() const override { return items_; }
    NameList nameList() const override { return list_; }
    int itemCount() const override { return count_; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        const std::uint32_t v = readNumber(fa, f);
        const int index = indexOf(v);
        // A stored value without an item is shown as its number and kept unless replaced.
        return index < 0 ? FieldValue::ofUnlisted(toDecimal(v)) : FieldValue::ofChoice(index);
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        if (v.index < 0 || v.index >= count_)
            return false;
        const std::uint32_t stored = values_.empty() ? static_cast<std::uint32_t>(v.index)
                                                     : values_[static_cast<std::size_t>(v.index)];
        if (stored > maxNumber(f))
            return false;
        writeNumber(fa, f, stored);
        return true;
    }

    std::string accepted(const FieldDef&) const override { return "应从列表中选择一项"; }

private:
    int indexOf(std::uint32_t v) const {
        if (values_.empty()) {
            return v < static_cast<std::uint32_t>(count_) ? static_cast<int>(v) : -1;
        }
        const auto it = std::find(values_.begin(), values_.end(), v);
        if (it != values_.end())
            return static_cast<int>(it - values_.begin());
        for (const auto& [stored, index] : aliases_) {
            if (stored == v)
                return index;
        }
        return -1;
    }

    std::vector<std::string> items_;
    std::vector<std::uint32_t> values_;
    std::vector<std::pair<std::uint32_t, int>> aliases_;
    NameList list_;
    int count_;
};

class ReversedBitSet final : public Encoding {
public:
    explicit ReversedBitSet(std::vector<std::string> items) : items_(std::move(items)) {}

    ValueKind kind() const override { return ValueKind::Marks; }
    std::string name() const override { return "bit-set"; }
    const std::vector<std::string>& items() const override { return items_; }

    FieldValue read(FieldAccess& fa, const FieldDef& f) const override {
        std::uint32_t v = readNumber(fa, f);
        const int bits = 8 * f.width;
        std::vector<int> marks;
        // The lowest bit is the last item; halving walks up to the first.
        for (int b = 0; b < bits; ++b, v /= 2) {
            if (v % 2 == 1)
                marks.push_back(bits - 1 - b);
        }
        std::sort(marks.begin(), marks.end());
        return FieldValue::ofMarks(std::move(marks));
    }

    bool write(FieldAccess& fa, const FieldDef& f, const FieldValue& v) const override {
        const int bits = 8 * f.width;
        std::uint32_t value = 0;
        for (int k : v.marks) {
            if (k < 0 || k >= bits)
                return false;
            value |= 1u << (bits - 1 - k);
        }
        writeNumber(fa, f, value);
        return true;
    }

    std::string accepted(const FieldDef& f) const override {
        return "应为列表项的编号（0 到 " + toDecimal(8 * f.width - 1) + "），以逗号分隔";
    }

private:
    std::vector<std::string> items_;
};

}  // namespace

EncodingPtr choice(std::vector<std::string> items) {
    return std::make_shared<Choice>(std::move(items), std::vector<std::uint32_t>{},
                                    std::vector<std::pair<std::uint32_t, int>>{}, NameList::None,
                                    0);
}

EncodingPtr nameChoice(NameList list, int count) {
    return std::make_shared<Choice>(std::vector<std::string>{}, std::vector<std::uint32_t>{},
                                    std::vector<std::pair<std::uint32_t, int>>{}, list, count);
}

EncodingPtr mappedChoice(std::vector<std::string> items, std::vector<std::uint32_t> values,
                         std::vector<std::pair<std::uint32_t, int>> aliases) {
    return std::make_shared<Choice>(std::move(items), std::move(values), std::move(aliases),
                                    NameList::None, 0);
}

EncodingPtr reversedBitSet(std::vector<std::string> items) {
    return std::make_shared<ReversedBitSet>(std::move(items));
}

}  // namespace vorlan
