#pragma once
// How messages name an entry and a write: with its table's caption unless the entry's own
// label already carries it ("机体005", but "底力补正 L1" where the label is "L1").

#include <QString>

#include "document/write_step.h"
#include "schema/name_source.h"
#include "schema/table_def.h"

namespace vorlan {

// "机体005", "机体005 武器3", "底力补正 L1".
QString entryName(const TableDef& table, int index, NameSource* names);
// A step's label with its table named: "底力补正 L1：命中補正 0 → 5".
QString stepLabel(const WriteStep& step);
// What a step wrote, without its values, for a button: "底力补正 L1", "应用补丁 mod.bps".
QString stepName(const WriteStep& step);
// `label` in at most about `room` characters: cut after a whole field, with "… 等 N 个字段"
// (N: every field the label names).
QString shortLabel(const QString& label, qsizetype room);

}  // namespace vorlan
