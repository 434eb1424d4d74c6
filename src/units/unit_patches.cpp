#include "units/unit_patches.h"

#include "access/field_access.h"
#include "units/unit_table.h"

namespace vorlan {

void patchUpgradeLimits(ByteStore& file) {
    FieldAccess fa(file);
    fa.curpos = static_cast<std::int32_t>(unitTable().offset) + 58 + 1;
    for (int i = 0; i < kUnitCount; ++i) {
        fa.puthex16("AAAA");
        fa.skip(kUnitRecordSize - 2);
    }
}

void patchChips(ByteStore& file) {
    FieldAccess fa(file);
    fa.curpos = static_cast<std::int32_t>(unitTable().offset) + 61 + 1;
    for (int i = 0; i < kUnitCount; ++i) {
        fa.putbyte(4);
        fa.skip(kUnitRecordSize - 1);
    }
}

}  // namespace vorlan
