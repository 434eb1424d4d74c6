#include "session/entry_names.h"

#include <QStringList>

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
    // What was written to, without the values: the part before the colon of each entry's
    // part ("机体149 X；机体149 武器3" for a unit written with one of its slots).
    QStringList names;
    for (const QString& part : stepLabel(step).split(u("；"))) {
        const qsizetype colon = part.indexOf(u("："));
        names << (colon > 0 ? part.left(colon) : part);
    }
    return names.join(u("；"));
}

QString shortLabel(const QString& label, qsizetype room) {
    if (label.size() <= room)
        return label;
    // Cut after a whole field, and say how many were left out.
    const qsizetype changes = label.count(u("→"));
    qsizetype cut = room;
    while (cut > 0 && label[cut] != u("，")[0] && label[cut] != u("；")[0])
        --cut;
    if (cut <= 0)
        cut = room;
    const QString head = label.left(cut);
    return head + u("… 等 %1 个字段").arg(changes);
}

}  // namespace vorlan
