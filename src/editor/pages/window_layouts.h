#pragma once
// How each secondary window arranges its table's boxes: whether it picks entries from a
// list or shows one block, its grids of boxes with their captions, and explanation texts.
// One generic window (table_window.h) builds itself from a description.

#include <string>
#include <vector>

#include "schema/table_def.h"

namespace vorlan {

struct WindowGrid {
    std::string heading;                          // above the grid, over all its columns
    std::vector<std::string> columns;             // captions above the columns
    std::vector<std::string> rows;                // captions left of the rows
    std::vector<std::string> footers;             // below the columns, each spanning an equal share
    std::vector<std::vector<std::string>> cells;  // field keys, row by row
    bool captionsAbove = false;                   // each box carries its field's caption above it
};

struct WindowLayout {
    std::string form;           // "Form2"
    std::string caption;        // "底力补正"
    std::string button;         // the main window's button that opens it, "Command23"
    std::string buttonCaption;  // that button's caption ("机师特技补正" opens 机师技能补正)
    const TableDef* table = nullptr;
    bool list = true;  // picks entries from List1; otherwise shows the one block
    int gridsPerRow = 1;
    std::vector<WindowGrid> grids;
    std::vector<std::string> notes;  // explanation captions under the grids
    bool filter = false;             // a filter box over the list (a long list)
};

// Form2 … Form7, in the order of their buttons.
const std::vector<WindowLayout>& windowLayouts();

}  // namespace vorlan
