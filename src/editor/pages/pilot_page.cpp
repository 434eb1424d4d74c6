#include "pages/pilot_page.h"

#include <memory>

#include "pages/table_grid_window.h"
#include "toolkit/text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "session/editor_context.h"
#include "session/record_browser.h"
#include "tables/pilot_table.h"
#include "toolkit/dialogs.h"
#include "toolkit/entry_chooser.h"
#include "toolkit/entry_form.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/field_controls.h"
#include "toolkit/fitting_scroll.h"
#include "toolkit/lazy_tab.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

// A field's text box with a "?" button beside it.
QWidget* hinted(QWidget* box, QPushButton* hint) {
    auto* w = new QWidget;
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(box);
    l->addWidget(hint);
    l->addStretch();
    return w;
}

}  // namespace

PilotPage::PilotPage(EditorContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      pilotList_(new EntryListView("List5")),
      tabs_(new QTabWidget) {
    setObjectName("PilotPage");
    auto* listFrame = frame(u("选择机师"), "Frame8");
    auto* listLayout = new QVBoxLayout(listFrame);
    auto* filter = textBox("FilterPilots", 150);
    listLayout->addWidget(filter);
    listLayout->addWidget(pilotList_);
    pilotList_->setMinimumWidth(150);

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(u("首地址"));
    auto* offsetBox = readOnlyBox("Text41", 80);
    label->setBuddy(offsetBox);
    row->addWidget(label);
    row->addWidget(offsetBox, 1);
    row->addWidget(saveButton("Command11"));
    // The browser comes below; the button asks it at click time.
    const auto shownBy = std::make_shared<RecordBrowser*>(nullptr);
    row->addWidget(TableGridWindow::opener(
        context_, pilotTable(),
        [shownBy] { return *shownBy != nullptr ? (*shownBy)->shown() : -1; }, "GridPilots",
        u("表格")));

    auto* left = new QVBoxLayout;
    left->addWidget(listFrame, 1);
    left->addLayout(row);

    tabs_->setObjectName("SSTab3");
    tabs_->addTab(buildBasicPage(), u("基本参数"));
    // The other inner pages are built when first shown: the page appears sooner.
    tabs_->addTab(new LazyTab([this] { return buildSpiritPage(); }), u("机师精神"));
    tabs_->addTab(new LazyTab([this] { return buildSkillPage(); }), u("机师技能"));

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    // The inner pages scroll on a small screen; the list's buttons stay in view beside them.
    layout->addWidget(new FittingScroll(tabs_, nullptr, true), 1);

    auto* form = new EntryForm(this, pilotTable(), context_.session());
    auto* browser = new RecordBrowser(
        context_, this, *form, new ListChooser(pilotList_), offsetBox,
        {u("机师修改"), u("机师"), u("请先在“选择机师”列表中选择要%1的机师。"),
         u("将要复制选定机师的数据,是否进行操作"),
         u("将要把复制的数据粘贴到选定机师的上,并且直接写入文件,是否进行操作"),
         u("还没有复制任何机师的数据：请先选择一位机师，点击“复制该机师数据”。")});
    *shownBy = browser;
    browser_ = browser;
    browser->setFilter(filter, pilotList_);
    setFocusProxy(pilotList_);
    const auto on = [this](const char* name, auto* receiver, auto action) {
        connect(findChild<QPushButton*>(name), &QPushButton::clicked, receiver, action);
    };
    on("Command11", browser, &RecordBrowser::write);
    auto* save = new QShortcut(QKeySequence::Save, this);
    save->setContext(Qt::WidgetWithChildrenShortcut);
    connect(save, &QShortcut::activated, browser, &RecordBrowser::write);
    hint(this, "Command12", "敌我判定：X0、X2－敌方或非驾驶员,X8、X9、XA－我方");
    hint(this, "Command18", "换乘类型：00－不能换乘，01－UC系，02－W系，04－魔神系，08－盖塔系");
}

void PilotPage::hint(QWidget* page, const char* button, const char* text) {
    connect(page->findChild<QPushButton*>(button), &QPushButton::clicked, this,
            [this, text] { context_.dialogs().information(this, u(text)); });
}

QWidget* PilotPage::buildBasicPage() {
    auto* page = new QWidget;
    auto* person = frame(u("人物资料"), "FramePerson");
    auto* grid = new QGridLayout(person);
    const TableDef& pilot = pilotTable();
    fieldWideRow(grid, 0, pilot, {"code", 160}, 1);
    // Each name: its code, its text, and under them the note of what the code will store.
    int row = 1;
    for (const char* key : {"nickname", "surname", "given-name"}) {
        addRow(grid, row++,
               {{fieldCaption(pilot, key), fieldControl(pilot, key, 220)},
                {QString(), decodedNameBox(pilot, key, 140)}});
        grid->addWidget(decodedNameNote(pilot, key), row++, 1, 1, 3);
    }

    auto* abilities = frame(u("基本能力"), "FrameAbilities");
    auto* abilityGrid = new QGridLayout(abilities);
    const char* keys[] = {"sp", "melee", "shooting", "evasion", "accuracy", "defense", "technique"};
    for (int k = 0; k < 7; ++k) {
        QWidget* box = fieldControl(pilot, keys[k], 50);
        auto* l = caption(fieldCaption(pilot, keys[k]));
        l->setBuddy(box);
        abilityGrid->addWidget(l, k / 4, 2 * (k % 4));
        abilityGrid->addWidget(box, k / 4, 2 * (k % 4) + 1);
    }
    abilityGrid->setColumnStretch(8, 1);

    auto* terrain = frame(u("地形适应"), "FramePilotTerrain");
    auto* terrainGrid = new QGridLayout(terrain);
    fieldRow(
        terrainGrid, 0, pilot,
        {{"terrain-air", 60}, {"terrain-land", 60}, {"terrain-sea", 60}, {"terrain-space", 60}});
    terrainGrid->setColumnStretch(8, 1);

    auto* flags = new QGridLayout;
    addRow(flags, 0,
           {{fieldCaption(pilot, "side"),
             hinted(fieldControl(pilot, "side", 50), hintButton("Command12", u("？")))},
            {fieldCaption(pilot, "transfer"),
             hinted(fieldControl(pilot, "transfer", 50), hintButton("Command18", u("？")))}});
    flags->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(person);
    layout->addWidget(abilities);
    layout->addWidget(terrain);
    layout->addLayout(flags);
    layout->addStretch();
    return page;
}

QWidget* PilotPage::buildSpiritPage() {
    auto* page = new QWidget;
    auto* spirits = frame(u("机师精神"), "FrameSpirits");
    auto* grid = new QGridLayout(spirits);
    grid->addWidget(new QLabel(u("精神指令")), 0, 0);
    grid->addWidget(new QLabel(u("修得LV")), 0, 1);
    grid->addWidget(new QLabel(u("消耗SP")), 0, 2);
    for (int k = 0; k < 6; ++k) {
        const std::string spirit = "spirit" + std::to_string(k + 1);
        grid->addWidget(fieldControl(pilotTable(), spirit), k + 1, 0);
        grid->addWidget(fieldControl(pilotTable(), spirit + "-level", 50), k + 1, 1);
        grid->addWidget(fieldControl(pilotTable(), spirit + "-sp", 50), k + 1, 2);
    }
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(spirits);
    layout->addStretch();
    return page;
}

QWidget* PilotPage::buildSkillPage() {
    auto* page = new QWidget;
    auto* skills = frame(u("机师技能"), "FrameSkills");
    auto* grid = new QGridLayout(skills);
    grid->addWidget(new QLabel(u("技能代码")), 0, 0);
    auto* levels = new QLabel(u("修得LV"));
    grid->addWidget(levels, 0, 1, 1, 9);
    for (int row = 0; row < 6; ++row) {
        const std::string skill = "skill" + std::to_string(row + 1);
        grid->addWidget(fieldControl(pilotTable(), skill, 120), row + 1, 0);
        for (int j = 1; j <= 9; ++j)
            grid->addWidget(fieldControl(pilotTable(), skill + "-lv" + std::to_string(j), 34),
                            row + 1, j);
    }
    grid->setColumnStretch(10, 1);

    auto* special = frame(u("特别操作"), "FramePilotSpecial");
    auto* specialRow = new QHBoxLayout(special);
    specialRow->addWidget(button("Command16", u("复制该机师数据")));
    specialRow->addWidget(writeButton("Command17", u("粘贴机师数据")));
    specialRow->addWidget(hintButton("Command19", u("？")));
    specialRow->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(skills);
    layout->addWidget(special);
    layout->addStretch();
    auto* copy = page->findChild<QPushButton*>("Command16");
    auto* paste = page->findChild<QPushButton*>("Command17");
    connect(copy, &QPushButton::clicked, browser_, &RecordBrowser::copy);
    connect(paste, &QPushButton::clicked, browser_, &RecordBrowser::paste);
    paste->setEnabled(!context_.session().isReadOnly());
    hint(page, "Command19",
         "要把敌方人物改为可用,"
         "方法是把敌人数据粘贴到我方废弃人物上，然后再把废弃我方人物的敌我判定改为18");
    return page;
}

}  // namespace vorlan
