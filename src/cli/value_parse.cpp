#include "value_parse.h"

#include "bulk/field_text.h"
#include "command.h"

namespace vorlan::cli {

FieldValue parseValue(const FieldDef& f, const std::string& text, const FieldValue& shown,
                      ListCache& lists) {
    // An item text of a name-list choice needs its list: say why it cannot be read.
    const bool number = !text.empty() && text.find_first_not_of("-0123456789") == std::string::npos;
    if (f.encoding->kind() == ValueKind::Choice && f.encoding->nameList() != NameList::None &&
        !number) {
        lists.requireNames(f.encoding->nameList());
    }
    ParsedValue parsed = parseFieldText(f, text, shown, &lists);
    if (!parsed.value) {
        const bool choice = f.encoding->kind() == ValueKind::Choice;
        throw Refusal(parsed.error + (choice ? kItemsHint : ""));
    }
    return *parsed.value;
}

}  // namespace vorlan::cli
