#pragma once
// Tests name a page's field controls by field key: the control name comes from the table's
// definition, so a test reads "unit hp" and follows a control renamed in the definition.

#include <QString>
#include <QWidget>
#include <string>

#include "schema/table_def.h"

namespace vorlan::test {

// The control name of field `key` of `table`; an unknown key throws std::logic_error.
QString fieldName(const TableDef& table, const std::string& key);
// The name of the box showing the characters of name field `key`; fatal when there is none.
QString decodedName(const TableDef& table, const std::string& key);

// The same for the tables of the unit and pilot pages.
QString unitField(const std::string& key);
QString weaponField(const std::string& key);
QString pilotField(const std::string& key);

// The control of field `key` under `root`; fatal when the page has none.
template <typename T = QWidget>
T* field(const QWidget* root, const TableDef& table, const std::string& key) {
    const QString name = fieldName(table, key);
    auto* w = root->findChild<T*>(name);
    if (w == nullptr)
        qFatal("no control %s for field %s of table %s", qPrintable(name), key.c_str(),
               table.name.c_str());
    return w;
}

}  // namespace vorlan::test
