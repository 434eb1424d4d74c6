#pragma once
// A field's value as the editor shows it: a text box's text, a choice box's item, the
// marked items of a multi-select list, or an icon toggle. Values compare equal exactly
// when the controls show the same thing, which is how a save finds what the user changed.

#include <string>
#include <vector>

namespace vorlan {

enum class ValueKind { Text, Choice, Marks, Toggle };

struct FieldValue {
    std::string text;        // Text: the box's text. Choice with no item: the stored number.
    int index = -1;          // Choice: 0-based item index, -1 when the stored value has no item.
    std::vector<int> marks;  // Marks: the marked item indexes, ascending.
    bool on = false;         // Toggle.

    static FieldValue ofText(std::string t) { return FieldValue{std::move(t), -1, {}, false}; }
    static FieldValue ofChoice(int i) { return FieldValue{{}, i, {}, false}; }
    static FieldValue ofUnlisted(std::string number) {
        return FieldValue{std::move(number), -1, {}, false};
    }
    static FieldValue ofMarks(std::vector<int> m) {
        return FieldValue{{}, -1, std::move(m), false};
    }
    static FieldValue ofToggle(bool v) { return FieldValue{{}, -1, {}, v}; }

    bool operator==(const FieldValue&) const = default;
};

}  // namespace vorlan
