#include "pages/skill_training_frame.h"

#include <memory>

#include "pages/table_grid_window.h"
#include "toolkit/text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "session/editor_context.h"
#include "session/record_browser.h"
#include "tables/skill_training_table.h"
#include "toolkit/entry_chooser.h"
#include "toolkit/entry_form.h"
#include "toolkit/field_controls.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

// Picks the skill whose training the frame shows; not a field of the table.
constexpr const char* kSkillChooser = "Combo29";

}  // namespace

SkillTrainingFrame::SkillTrainingFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("机师技能养成"), parent), context_(context) {
    setObjectName("Frame18");
    auto* grid = new QGridLayout(this);
    const TableDef& table = skillTrainingTable();
    addRow(grid, 0,
           {{u("选择技能"), choiceBox(kSkillChooser, {}, 140)},
            {fieldCaption(table, "type"), fieldControl(table, "type", 170)}});
    fieldRow(grid, 1, table, {{"name-pointer", 90}, {"text-pointer", 90}});
    auto* pp = new QHBoxLayout;
    for (int m = 1; m <= 9; ++m)
        pp->addWidget(fieldControl(table, "pp" + std::to_string(m), 40));
    pp->addWidget(saveButton("Command13"));
    const auto shownBy = std::make_shared<RecordBrowser*>(nullptr);
    pp->addWidget(TableGridWindow::opener(
        context_, skillTrainingTable(),
        [shownBy] { return *shownBy != nullptr ? (*shownBy)->shown() : -1; }, "GridSkillTraining",
        u("表格")));
    pp->addStretch();
    grid->addWidget(caption(u("所需PP")), 2, 0);
    grid->addLayout(pp, 2, 1, 1, 4);
    grid->setColumnStretch(4, 1);
    auto* form = new EntryForm(this, skillTrainingTable(), context_.session());
    auto* browser = new RecordBrowser(
        context_, this, *form, new ComboChooser(findChild<QComboBox*>(kSkillChooser)), nullptr,
        {u("其他修改 · 机师技能养成"),
         u("技能"),
         u("请先在“选择技能”中选择一个技能，再%1。"),
         {},
         {},
         {}});
    *shownBy = browser;
    connect(findChild<QPushButton*>("Command13"), &QPushButton::clicked, browser,
            &RecordBrowser::write);
}

}  // namespace vorlan
