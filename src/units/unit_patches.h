#pragma once
// The two whole-table patches of the unit table.

#include "access/byte_store.h"

namespace vorlan {

// "TF改造丑小鸭": every unit's four upgrade step limits become 10 (bytes 58 and 59 = AA AA).
void patchUpgradeLimits(ByteStore& file);
// "全机体可装4芯片": every unit's chip count becomes 4 (byte 61 = 04).
void patchChips(ByteStore& file);

}  // namespace vorlan
