#pragma once
// The pilot skill training table: one 28-byte entry for each of the skills 1 to 32.

#include "schema/table_def.h"

namespace vorlan {

const TableDef& skillTrainingTable();

}  // namespace vorlan
