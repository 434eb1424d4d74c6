#include "widgets/support/field_names.h"

#include <algorithm>

#include "tables/pilot_table.h"
#include "tables/unit_table.h"

namespace vorlan::test {

QString fieldName(const TableDef& table, const std::string& key) {
    const auto at = std::find_if(table.fields.begin(), table.fields.end(),
                                 [&](const FieldDef& f) { return f.key == key; });
    if (at == table.fields.end())
        qFatal("table %s has no field %s", table.name.c_str(), key.c_str());
    return QString::fromStdString(at->control);
}

QString decodedName(const TableDef& table, const std::string& key) {
    const auto at = std::find_if(table.decoded.begin(), table.decoded.end(),
                                 [&](const DecodedName& d) { return d.field == key; });
    if (at == table.decoded.end())
        qFatal("table %s shows no decoded name for field %s", table.name.c_str(), key.c_str());
    return QString::fromStdString(at->control);
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
