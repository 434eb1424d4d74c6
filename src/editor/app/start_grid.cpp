#include "app/start_grid.h"

#include "app/main_window.h"
#include "catalog/catalog.h"
#include "pages/table_grid_window.h"

namespace vorlan {

QWidget* openGridAtStart(MainWindow& window, const QString& table) {
    const TableDef* def = findTable(table.toStdString());
    if (def == nullptr)
        return nullptr;
    return TableGridWindow::open(window.context(), *def, -1, &window);
}

}  // namespace vorlan
