#include "pages/upgrade_frame.h"

#include <memory>

#include "pages/table_grid_window.h"
#include "toolkit/text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/editor_context.h"
#include "session/record_browser.h"
#include "tables/upgrade_tables.h"
#include "toolkit/dialogs.h"
#include "toolkit/entry_chooser.h"
#include "toolkit/entry_form.h"
#include "toolkit/field_controls.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

QHBoxLayout* chooserRow(const QString& text, QComboBox* chooser, QPushButton* write,
                        QPushButton* grid) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(text);
    label->setBuddy(chooser);
    row->addWidget(label);
    row->addWidget(chooser);
    row->addWidget(write);
    row->addWidget(grid);
    row->addStretch();
    return row;
}

// The row choosers: they pick an entry and are no field of their table.
constexpr const char* kCostChooser = "Combo31";
constexpr const char* kIncrementChooser = "Combo32";

// The ten steps, step 1 at the top left, `perRow` to a row, each wide enough for its values.
QGridLayout* valueRows(const TableDef& table, int width, int perRow) {
    auto* rows = new QGridLayout;
    for (int n = 0; n < 10; ++n) {
        rows->addWidget(fieldControl(table, "step" + std::to_string(n + 1), width), n / perRow,
                        n % perRow);
    }
    rows->setColumnStretch(perRow, 1);
    return rows;
}

}  // namespace

UpgradeFrame::UpgradeFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("改造相关1"), parent), context_(context) {
    setObjectName("Frame19");
    auto* layout = new QVBoxLayout(this);
    const auto costShown = std::make_shared<RecordBrowser*>(nullptr);
    const auto incrementShown = std::make_shared<RecordBrowser*>(nullptr);
    const auto shownBy = [](std::shared_ptr<RecordBrowser*> b) {
        return [b] { return *b != nullptr ? (*b)->shown() : -1; };
    };
    layout->addLayout(
        chooserRow(u("机体改造费用"), choiceBox(kCostChooser, {}, 100), saveButton("Command21"),
                   TableGridWindow::opener(context_, upgradeCostTable(), shownBy(costShown),
                                           "GridUpgradeCost", u("表格"))));
    // Costs take ten digits: five to a row, so the page fits a window 940 pixels wide.
    layout->addLayout(valueRows(upgradeCostTable(), 84, 5));
    layout->addLayout(chooserRow(
        u("武器改造幅度"), choiceBox(kIncrementChooser, {}, 100), saveButton("Command22"),
        TableGridWindow::opener(context_, upgradeIncrementTable(), shownBy(incrementShown),
                                "GridUpgradeIncrement", u("表格"))));
    layout->addLayout(valueRows(upgradeIncrementTable(), 56, 10));
    // Two tables, each with its row chooser and write button.
    const struct {
        const TableDef* table;
        const char* chooser;
        const char* write;
        const char* pick;
        std::shared_ptr<RecordBrowser*> shown;
    } rows[] = {
        {&upgradeCostTable(), kCostChooser, "Command21", "请先在“机体改造费用”中选择一行，再%1。",
         costShown},
        {&upgradeIncrementTable(), kIncrementChooser, "Command22",
         "请先在“武器改造幅度”中选择一种，再%1。", incrementShown},
    };
    for (const auto& r : rows) {
        auto* form = new EntryForm(this, *r.table, context_.session());
        auto* browser = new RecordBrowser(
            context_, this, *form, new ComboChooser(findChild<QComboBox*>(r.chooser)), nullptr,
            {u("其他修改 · 改造相关1"), u(r.table->caption), u(r.pick), {}, {}, {}});
        *r.shown = browser;
        connect(findChild<QPushButton*>(r.write), &QPushButton::clicked, browser,
                &RecordBrowser::write);
    }
}

}  // namespace vorlan
