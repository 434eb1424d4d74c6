#include "widgets/support/field_names.h"

#include "tables/pilot_table.h"
#include "tables/unit_table.h"
#include "toolkit/field_controls.h"

namespace vorlan::test {

// The pages' own lookups: an unknown key throws, failing the one test that named it.
QString fieldName(const TableDef& table, const std::string& key) {
    return QString::fromStdString(fieldByKey(table, key).control);
}

QString decodedName(const TableDef& table, const std::string& key) {
    return QString::fromStdString(decodedNameOf(table, key).control);
}

QString unitField(const std::string& key) {
    return fieldName(unitTable(), key);
}

QString weaponField(const std::string& key) {
    return fieldName(weaponTable(), key);
}

QString pilotField(const std::string& key) {
    return fieldName(pilotTable(), key);
}

}  // namespace vorlan::test
