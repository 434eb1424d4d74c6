#include "pages/unit_page.h"
#include "toolkit/text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "pages/table_grid_window.h"
#include "pages/unit_icons.h"
#include "session/editor_context.h"
#include "session/record_browser.h"
#include "tables/unit_patches.h"
#include "tables/unit_table.h"
#include "toolkit/dialogs.h"
#include "toolkit/entry_chooser.h"
#include "toolkit/entry_form.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/field_controls.h"
#include "toolkit/fitting_scroll.h"
#include "toolkit/icon_toggle.h"
#include "toolkit/lazy_tab.h"
#include "toolkit/note_label.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

// The four terrain choices 空 陆 海 宇 of a unit or a weapon slot, in one frame.
QGroupBox* terrainFrame(const TableDef& table) {
    auto* box = frame(u("地形适应"));
    auto* grid = new QGridLayout(box);
    fieldRow(
        grid, 0, table,
        {{"terrain-air", 60}, {"terrain-land", 60}, {"terrain-sea", 60}, {"terrain-space", 60}});
    grid->setColumnStretch(8, 1);
    return box;
}

// A field's text box with a "?" button beside it.
QWidget* hinted(QWidget* box, QPushButton* hint, bool stretch) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(box);
    row->addWidget(hint);
    if (stretch)
        row->addStretch();
    auto* w = new QWidget;
    w->setLayout(row);
    return w;
}

}  // namespace

UnitPage::UnitPage(EditorContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      unitList_(new EntryListView("List1")),
      slotList_(new EntryListView("List2")),
      filter_(textBox("FilterUnits", 150)),
      tabs_(new QTabWidget),
      offsetBox_(readOnlyBox("Text13", 80)),
      stepsBox_(readOnlyBox("Text37", 50)),
      // Wrapped, yet of a height that does not follow the page's width: the page fits the
      // window and only its inner pages scroll.
      weaponNote_(new WrappedNote(u("注意："))) {
    setObjectName("UnitPage");
    weaponNote_->setObjectName("Label12");
    // The note on the weapon part stands out in a warm colour, on light and dark palettes.
    QPalette warm = weaponNote_->palette();
    warm.setColor(QPalette::WindowText, QColor(0xc0, 0x50, 0x2a));
    weaponNote_->setPalette(warm);
    weaponNote_->setWordWrap(true);

    auto* listFrame = frame(u("选择机体"), "Frame1");
    auto* listLayout = new QVBoxLayout(listFrame);
    listLayout->addWidget(filter_);
    listLayout->addWidget(unitList_);
    unitList_->setMinimumWidth(150);

    auto* offsetLabel = new QLabel(u("首地址"));
    offsetLabel->setObjectName("Label3");
    offsetLabel->setBuddy(offsetBox_);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(offsetLabel);
    offsetRow->addWidget(offsetBox_, 1);
    auto* writeRow = new QHBoxLayout;
    writeRow->addWidget(saveButton("Command3"), 1);
    writeRow->addWidget(TableGridWindow::opener(
        context_, unitTable(), [this] { return browser_ != nullptr ? browser_->shown() : -1; },
        "GridUnits", u("表格")));
    writeRow->addWidget(TableGridWindow::opener(
        context_, weaponTable(), [this] { return slot_ != nullptr ? slot_->shownIndex() : -1; },
        "GridWeapons", u("武器表格")));
    auto* stepsLabel = new QLabel(u("段数"));
    stepsLabel->setObjectName("Label37");
    stepsLabel->setBuddy(stepsBox_);
    writeRow->addWidget(stepsLabel);
    writeRow->addWidget(stepsBox_);
    stepsBox_->setMaximumWidth(60);
    stepsBox_->setToolTip(u("改造段数的四位十六进制数字（EN、HP、装甲、运动性）"));

    auto* left = new QVBoxLayout;
    left->addWidget(listFrame, 1);
    left->addLayout(offsetRow);
    left->addLayout(writeRow);

    tabs_->setObjectName("SSTab2");
    tabs_->addTab(buildBasicPage(), u("基本参数"));
    // The other inner pages are built when first shown: the page appears sooner.
    tabs_->addTab(new LazyTab([this] { return buildWeaponPage(); }), u("机体武器"));
    tabs_->addTab(new LazyTab([this] { return buildOtherPage(); }), u("其他"));
    tabs_->addTab(new LazyTab([this] { return buildSkillPage(); }), u("机体技能"));
    // The slot list waits hidden for its page.
    slotList_->setParent(this);
    slotList_->hide();

    // The inner pages scroll on a small screen; the list's buttons stay in view beside them.
    auto* right = new QVBoxLayout;
    right->addWidget(new FittingScroll(tabs_, nullptr, true), 1);
    right->addWidget(weaponNote_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    header_ = new EntryForm(this, unitTable(), context_.session());
    slot_ = new EntryForm(this, weaponTable(), context_.session());
    slot_->clear(false);
    browser_ = new RecordBrowser(
        context_, this, *header_, new ListChooser(unitList_), offsetBox_,
        {u("机体武器修改"), u("机体"), u("请先在“选择机体”列表中选择要%1的机体。"),
         u("将要复制选定机体的数据,是否进行操作"),
         u("将要把复制的数据粘贴到选定机体的上,并且直接写入文件,是否进行操作"),
         u("还没有复制任何机体的数据：请先选择一台机体，点击“复制该机体数据”。")});
    browser_->setFilter(filter_, unitList_);
    browser_->addDependent(*slot_);
    slotPicker_ = new ListChooser(slotList_);
    setFocusProxy(unitList_);
    connectActions();
}

UnitPage::~UnitPage() = default;

QWidget* UnitPage::buildBasicPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    const TableDef& unit = unitTable();
    fieldWideRow(grid, 0, unit, {"code", 160}, 3);
    fieldRow(grid, 1, unit, {"hp", "en"});
    fieldRow(grid, 2, unit, {"mobility", "armor"});
    fieldRow(grid, 3, unit, {"move", "cost"});
    fieldRow(grid, 4, unit, {"repair", "reward"});
    fieldRow(grid, 5, unit, {"exp", "pp"});
    fieldRow(grid, 6, unit, {"chips", {"size", 70}});
    grid->setColumnStretch(4, 1);

    auto* steps = frame(u("改造段数"), "FrameSteps");
    auto* stepGrid = new QGridLayout(steps);
    fieldRow(stepGrid, 0, unit,
             {{"step-en", 40}, {"step-hp", 40}, {"step-armor", 40}, {"step-mobility", 40}});
    auto* patches = new QHBoxLayout;
    for (const auto& [name, patch] :
         {std::pair{"Command4", &upgradeLimitsPatch()}, std::pair{"Command7", &chipsPatch()}}) {
        auto* b = writeButton(name, u(patch->caption));
        b->setToolTip(u(patch->summary) + u("，直接写入文件（可以撤销）"));
        patches->addWidget(b);
    }
    patches->addStretch();
    stepGrid->addLayout(patches, 1, 0, 1, 8);
    stepGrid->setColumnStretch(8, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(steps);
    layout->addStretch();
    return page;
}

QWidget* UnitPage::buildWeaponPage() {
    auto* page = new QWidget;
    // "武器12" and the weapon's name, never squeezed by a narrower page (the history beside).
    slotList_->setFixedWidth(150);
    const TableDef& slot = weaponTable();
    auto* grid = new QGridLayout;
    fieldWideRow(grid, 0, slot, {"name", 260}, 3);
    addWideRow(grid, 1, u("文本显示"), decodedNameBox(slot, "name", 260), 3);
    grid->addWidget(decodedNameNote(slot, "name"), 2, 1, 1, 4);
    fieldRow(grid, 3, slot, {"attack", "morale"});
    fieldRow(grid, 4, slot, {"range-min", "range-max"});
    fieldRow(grid, 5, slot, {"hit", "ct"});
    fieldRow(grid, 6, slot, {"ammo", "en-cost"});
    addRow(grid, 7,
           {{fieldCaption(slot, "upgrade-type"), fieldControl(slot, "upgrade-type")},
            {fieldCaption(slot, "attribute"),
             hinted(fieldControl(slot, "attribute", 50), hintButton("Command9", u("？")), false)}});
    fieldRow(grid, 8, slot, {"kind"});
    fieldRow(grid, 9, slot, {"required-skill", {"level", 40}});
    grid->setColumnStretch(4, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(grid);
    right->addWidget(terrainFrame(slot));
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(slotList_);
    slotList_->show();
    layout->addLayout(right, 1);
    connect(page->findChild<QPushButton*>("Command9"), &QPushButton::clicked, this,
            [this] { hint("01-移动后可使用,02－BEAM武器,大于02两者共存（P+B）"); });
    return page;
}

QWidget* UnitPage::buildOtherPage() {
    auto* page = new QWidget;
    const TableDef& unit = unitTable();
    auto* grid = new QGridLayout;
    fieldWideRow(grid, 0, unit, {"name", 300}, 2);
    addWideRow(grid, 1, u("文本显示"), decodedNameBox(unit, "name", 300), 2);
    grid->addWidget(decodedNameNote(unit, "name"), 2, 1, 1, 2);
    fieldRow(grid, 3, unit, {"move-type"});
    fieldRow(grid, 4, unit, {"transfer"});
    fieldRow(grid, 5, unit, {{"pilot", 160}});
    addRow(grid, 6,
           {{fieldCaption(unit, "attribute"),
             hinted(fieldControl(unit, "attribute", 50), hintButton("Command10", "?"), true)}});
    grid->setColumnStretch(2, 1);

    auto* special = frame(u("特别操作"), "FrameSpecial");
    auto* specialRow = new QHBoxLayout(special);
    auto* copy = button("Command5", u("复制该机体数据"));
    auto* paste = writeButton("Command6", u("粘贴机体数据"));
    auto* enemyHint = hintButton("Command8", "?");
    specialRow->addWidget(copy);
    specialRow->addWidget(paste);
    specialRow->addWidget(enemyHint);
    specialRow->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(terrainFrame(unit));
    layout->addWidget(special);
    layout->addStretch();
    connect(copy, &QPushButton::clicked, browser_, &RecordBrowser::copy);
    connect(paste, &QPushButton::clicked, browser_, &RecordBrowser::paste);
    paste->setEnabled(!context_.session().isReadOnly());
    connect(enemyHint, &QPushButton::clicked, this, [this] {
        hint(
            "要把敌机改为可用,"
            "方法是把敌机数据粘贴到我方废弃机体上，然后再把废弃我方机体的属性改为08");
    });
    connect(page->findChild<QPushButton*>("Command10"), &QPushButton::clicked, this,
            [this] { hint("00、02:敌方，08、09:我方"); });
    return page;
}

QWidget* UnitPage::buildSkillPage() {
    auto* page = new QWidget;
    auto* skills1 = frame(u("机体技能1"), "FrameSkills1");
    auto* lists = new QHBoxLayout(skills1);
    for (const char* key : {"skills1", "skills2"}) {
        QWidget* list = fieldControl(unitTable(), key);
        list->setMinimumHeight(16 * 20);
        lists->addWidget(list);
    }

    auto* skills2 = frame(u("机体技能2"), "FrameSkills2");
    auto* toggles = new QHBoxLayout(skills2);
    // Left to right: the blade, the red emblem, the wrench, the letters EN.
    for (int k : {1, 0, 3, 2}) {
        const UnitIcon icon = unitIcon(k);
        toggles->addWidget(new IconToggle(k, icon.size, icon.draw, icon.tip));
    }
    toggles->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(skills1, 1);
    layout->addWidget(skills2);
    return page;
}

void UnitPage::connectActions() {
    connect(&context_.session(), &DocumentSession::executableOpened, this, [this] {
        slotPicker_->setLabels({});
        stepsBox_->clear();
    });
    slotPicker_->setGameNames([this] { return slotNames(); });
    // A write, an undo or another program may rename a weapon.
    connect(&context_.session(), &DocumentSession::stepWritten, slotPicker_,
            &EntryChooser::gameNamesChanged);
    connect(&context_.session(), &DocumentSession::fileChanged, slotPicker_,
            &EntryChooser::gameNamesChanged);
    connect(browser_, &RecordBrowser::entryShown, this, &UnitPage::unitShown);
    connect(browser_, &RecordBrowser::entryRead, this, &UnitPage::showStepDigits);
    connect(browser_, &RecordBrowser::written, this, &UnitPage::showSlotNote);
    connect(slotPicker_, &EntryChooser::picked, this, &UnitPage::slotPicked);
    auto* save = new QShortcut(QKeySequence::Save, this);
    save->setContext(Qt::WidgetWithChildrenShortcut);
    connect(save, &QShortcut::activated, browser_, &RecordBrowser::write);
    const auto on = [this](const char* name, auto* receiver, auto action) {
        connect(findChild<QPushButton*>(name), &QPushButton::clicked, receiver, action);
    };
    on("Command3", browser_, &RecordBrowser::write);
    on("Command4", this, [this] { applyPatch(upgradeLimitsPatch()); });
    on("Command7", this, [this] { applyPatch(chipsPatch()); });
}

void UnitPage::hint(const char* text) {
    context_.dialogs().information(this, u(text));
}

void UnitPage::unitShown() {
    QStringList labels;
    for (int k = 1; k <= kSlotsPerUnit; ++k)
        labels << u("武器") + QString::number(k);
    slotPicker_->setLabels(labels);
    showSlotNote(false);  // a new unit: no slot chosen yet
}

void UnitPage::showSlotNote(bool withSlot) {
    // Whether 写入 writes a weapon slot too, as soon as that changes.
    weaponNote_->setText(withSlot ? u("注意：现在已经选定武器修改，武器部分将写入文件")
                                  : u("注意：现在没有选定武器修改，武器部分不作写入"));
}

QStringList UnitPage::slotNames() {
    const int unit = browser_->shown();
    if (unit < 0 || context_.session().document() == nullptr)
        return {};
    try {
        QStringList names;
        for (const std::string& name : context_.session().editor(this)->decodedNames(
                 weaponTable(), unit * kSlotsPerUnit, kSlotsPerUnit))
            names << u(name);
        return names;
    } catch (const std::exception&) {
        return {};  // the slots keep their numbers alone
    }
}

void UnitPage::showStepDigits() {
    // The four upgrade step digits as stored: EN, HP, armour, mobility.
    const EntryEdit shown = header_->edit();
    QString digits;
    for (const char* key : {"step-en", "step-hp", "step-armor", "step-mobility"}) {
        const auto& v = shown.shown[static_cast<std::size_t>(unitTable().fieldIndex(key))];
        digits += QString::number(u(v.text).toInt(), 16).toUpper();
    }
    stepsBox_->setText(digits);
}

void UnitPage::slotPicked(int row) {
    const int unit = browser_->shown();
    if (browser_->resolveEdits(this, slot_) && row >= 0 && unit >= 0)
        browser_->showIn(*slot_, unit * kSlotsPerUnit + row);
    // The slot list stands on the slot the form shows, whatever happened.
    const int shown = slot_->shownIndex();
    slotPicker_->restore(shown >= 0 ? shown % kSlotsPerUnit : -1);
    showSlotNote(shown >= 0);
}

void UnitPage::applyPatch(const TablePatch& patch) {
    if (context_.session().editor(this) == nullptr)
        return;
    // The page shows the patched unit again when the write is announced.
    context_.writer().write(this, [&](EntryEditor& editor) {
        return editor.setOnAll(*patch.table, patch.values, patch.caption);
    });
}

}  // namespace vorlan
