#include "session/entry_names.h"

#include "tables/catalog.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

// The caption to put before `head` (an entry's label), or nothing when it names its table.
QString captionFor(const TableDef* table, const QString& head) {
    if (table == nullptr)
        return {};
    const QString caption = u(table->caption);
    return head.contains(caption) ? QString() : caption + ' ';
}

}  // namespace

QString entryName(const TableDef& table, int index, NameSource* names) {
    const QString label = u(table.label(index, names));
    return captionFor(&table, label) + label;
}

QString stepLabel(const WriteStep& step) {
    const QString label = u(step.label);
    // A patch, an import or a grid's write names what it did itself.
    if (step.entries.size() != 1)
        return label;
    // An entry's write is labelled "L1：…"; anything else (an import, a paste) names itself.
    const qsizetype colon = label.indexOf(u("："));
    if (colon < 0)
        return label;
    return captionFor(findTable(step.table), label.left(colon)) + label;
}

QString stepName(const WriteStep& step) {
    // What was written to, without the values: the part before the colon.
    const QString label = stepLabel(step);
    const qsizetype colon = label.indexOf(u("："));
    return colon > 0 ? label.left(colon) : label;
}

}  // namespace vorlan
