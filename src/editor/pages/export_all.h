#pragma once
// "导出全部…": every table as a CSV file (TABLE.csv) in a folder the player chooses, as
// `vorlan-cli export --all` writes them; files of those names already there are replaced
// only when the player says so.

class QWidget;

namespace vorlan {

class EditorContext;

void exportAllTables(EditorContext& context, QWidget* parent);

}  // namespace vorlan
