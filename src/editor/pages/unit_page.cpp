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
#include "tables/unit_vocabularies.h"
#include "toolkit/dialogs.h"
#include "toolkit/entry_chooser.h"
#include "toolkit/entry_form.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/fitting_scroll.h"
#include "toolkit/form_binder.h"
#include "toolkit/icon_toggle.h"
#include "toolkit/lazy_tab.h"
#include "toolkit/note_label.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

// Four terrain boxes 空 陆 海 宇 in one frame.
QGroupBox* terrainFrame(const QString& first) {
    auto* box = frame(u("地形适应"));
    auto* grid = new QGridLayout(box);
    const int n = first.mid(5).toInt();
    const char* names[] = {"空", "陆", "海", "宇"};
    for (int i = 0; i < 4; ++i) {
        auto* combo = choiceBox("Combo" + QString::number(n + i), terrainRatings(), 60);
        grid->addWidget(caption(u(names[i])), 0, 2 * i);
        grid->addWidget(combo, 0, 2 * i + 1);
    }
    grid->setColumnStretch(8, 1);
    return box;
}

}  // namespace

UnitPage::UnitPage(EditorContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      list1_(new EntryListView("List1")),
      list2_(new EntryListView("List2")),
      filter_(textBox("FilterUnits", 150)),
      tabs_(new QTabWidget),
      text13_(readOnlyBox("Text13", 80)),
      text37_(readOnlyBox("Text37", 50)),
      // Wrapped, yet of a height that does not follow the page's width: the page fits the
      // window and only its inner pages scroll.
      label12_(new WrappedNote(u("注意："))) {
    setObjectName("UnitPage");
    label12_->setObjectName("Label12");
    // The note on the weapon part stands out in a warm colour, on light and dark palettes.
    QPalette warm = label12_->palette();
    warm.setColor(QPalette::WindowText, QColor(0xc0, 0x50, 0x2a));
    label12_->setPalette(warm);
    label12_->setWordWrap(true);

    auto* frame1 = frame(u("选择机体"), "Frame1");
    auto* frame1Layout = new QVBoxLayout(frame1);
    frame1Layout->addWidget(filter_);
    frame1Layout->addWidget(list1_);
    list1_->setMinimumWidth(150);

    auto* label3 = new QLabel(u("首地址"));
    label3->setObjectName("Label3");
    label3->setBuddy(text13_);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(label3);
    offsetRow->addWidget(text13_, 1);
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
    stepsLabel->setBuddy(text37_);
    writeRow->addWidget(stepsLabel);
    writeRow->addWidget(text37_);
    text37_->setMaximumWidth(60);
    text37_->setToolTip(u("改造段数的四位十六进制数字（EN、HP、装甲、运动性）"));

    auto* left = new QVBoxLayout;
    left->addWidget(frame1, 1);
    left->addLayout(offsetRow);
    left->addLayout(writeRow);

    tabs_->setObjectName("SSTab2");
    tabs_->addTab(buildBasicPage(), u("基本参数"));
    // The other inner pages are built when first shown: the page appears sooner.
    tabs_->addTab(new LazyTab([this] { return buildWeaponPage(); }), u("机体武器"));
    tabs_->addTab(new LazyTab([this] { return buildOtherPage(); }), u("其他"));
    tabs_->addTab(new LazyTab([this] { return buildSkillPage(); }), u("机体技能"));
    // The slot list waits hidden for its page.
    list2_->setParent(this);
    list2_->hide();

    // The inner pages scroll on a small screen; the list's buttons stay in view beside them.
    auto* right = new QVBoxLayout;
    right->addWidget(new FittingScroll(tabs_, nullptr, true), 1);
    right->addWidget(label12_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    header_ = new EntryForm(this, unitTable(), context_.session());
    slot_ = new EntryForm(this, weaponTable(), context_.session());
    slot_->clear(false);
    browser_ = new RecordBrowser(
        context_, this, *header_, new ListChooser(list1_), text13_,
        {u("机体武器修改"), u("机体"), u("请先在“选择机体”列表中选择要%1的机体。"),
         u("将要复制选定机体的数据,是否进行操作"),
         u("将要把复制的数据粘贴到选定机体的上,并且直接写入文件,是否进行操作"),
         u("还没有复制任何机体的数据：请先选择一台机体，点击“复制该机体数据”。")});
    browser_->setFilter(filter_, list1_);
    browser_->addDependent(*slot_);
    picker2_ = new ListChooser(list2_);
    setFocusProxy(list1_);
    connectActions();
}

UnitPage::~UnitPage() = default;

QWidget* UnitPage::buildBasicPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("机体代码"), choiceBox("Combo1", {}, 160), 3);
    addRow(grid, 1, {{u("HP"), textBox("Text2")}, {u("EN"), textBox("Text3")}});
    addRow(grid, 2, {{u("运动性"), textBox("Text5")}, {u("装甲"), textBox("Text6")}});
    addRow(grid, 3, {{u("移动力"), textBox("Text4")}, {u("COST"), textBox("Text7")}});
    addRow(grid, 4, {{u("修理费"), textBox("Text8")}, {u("击破费"), textBox("Text9")}});
    addRow(grid, 5, {{u("EXP"), textBox("Text11")}, {u("PP"), textBox("Text12")}});
    addRow(grid, 6,
           {{u("芯片数"), textBox("Text10")}, {u("SIZE"), choiceBox("Combo2", unitSizes(), 70)}});
    grid->setColumnStretch(4, 1);

    auto* steps = frame(u("改造段数"), "FrameSteps");
    auto* stepGrid = new QGridLayout(steps);
    addRow(stepGrid, 0,
           {{u("EN"), textBox("Text14", 40)},
            {u("HP"), textBox("Text15", 40)},
            {u("装甲"), textBox("Text16", 40)},
            {u("运动性"), textBox("Text17", 40)}});
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
    list2_->setFixedWidth(150);
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("武器名称"), textBox("Text20", 260), 3);
    addWideRow(grid, 1, u("文本显示"), nameTextBox("Text21", 260), 3);
    grid->addWidget(nameNote("Text21"), 2, 1, 1, 4);
    addRow(grid, 3, {{u("攻击力"), textBox("Text18")}, {u("必要气力"), textBox("Text27")}});
    addRow(grid, 4, {{u("近射程"), textBox("Text19")}, {u("远射程"), textBox("Text22")}});
    addRow(grid, 5, {{u("命中"), textBox("Text23")}, {u("CT"), textBox("Text24")}});
    addRow(grid, 6, {{u("残弹"), textBox("Text25")}, {u("消费EN"), textBox("Text26")}});
    auto* attribute = new QHBoxLayout;
    attribute->addWidget(textBox("Text30", 50));
    attribute->addWidget(hintButton("Command9", u("？")));
    auto* attributeBox = new QWidget;
    attributeBox->setLayout(attribute);
    attribute->setContentsMargins(0, 0, 0, 0);
    addRow(grid, 7,
           {{u("改造类型"), choiceBox("Combo15", weaponUpgradeTypes())},
            {u("武器属性"), attributeBox}});
    addRow(grid, 8, {{u("武器种类"), choiceBox("Combo14", weaponKinds())}});
    addRow(grid, 9,
           {{u("必要技能"), choiceBox("Combo13", requiredSkills())},
            {u("等级"), textBox("Text32", 40)}});
    grid->setColumnStretch(4, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(grid);
    right->addWidget(terrainFrame("Combo3"));
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(list2_);
    list2_->show();
    layout->addLayout(right, 1);
    connect(page->findChild<QPushButton*>("Command9"), &QPushButton::clicked, this,
            [this] { hint("01-移动后可使用,02－BEAM武器,大于02两者共存（P+B）"); });
    return page;
}

QWidget* UnitPage::buildOtherPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("机体名称"), textBox("Text33", 300), 2);
    addWideRow(grid, 1, u("文本显示"), nameTextBox("Text34", 300), 2);
    grid->addWidget(nameNote("Text34"), 2, 1, 1, 2);
    addRow(grid, 3, {{u("移动类型"), choiceBox("Combo7", moveTypes())}});
    addRow(grid, 4, {{u("换乘类型"), choiceBox("Combo16", transferTypes())}});
    addRow(grid, 5, {{u("主机师"), choiceBox("Combo12", {}, 160)}});
    auto* attribute = new QHBoxLayout;
    attribute->setContentsMargins(0, 0, 0, 0);
    attribute->addWidget(textBox("Text35", 50));
    attribute->addWidget(hintButton("Command10", "?"));
    attribute->addStretch();
    auto* attributeBox = new QWidget;
    attributeBox->setLayout(attribute);
    addRow(grid, 6, {{u("机体属性"), attributeBox}});
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
    layout->addWidget(terrainFrame("Combo8"));
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
    for (const auto& [name, items] :
         {std::pair{"List3", &unitSkills1()}, std::pair{"List4", &unitSkills2()}}) {
        auto* list = listBox(name, true);
        list->addItems(toStringList(*items));
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
        picker2_->setLabels({});
        text37_->clear();
    });
    picker2_->setGameNames([this] { return slotNames(); });
    // A write, an undo or another program may rename a weapon.
    connect(&context_.session(), &DocumentSession::stepWritten, picker2_,
            &EntryChooser::gameNamesChanged);
    connect(&context_.session(), &DocumentSession::fileChanged, picker2_,
            &EntryChooser::gameNamesChanged);
    connect(browser_, &RecordBrowser::entryShown, this, &UnitPage::unitShown);
    connect(browser_, &RecordBrowser::entryRead, this, &UnitPage::showStepDigits);
    connect(browser_, &RecordBrowser::written, this, &UnitPage::showSlotNote);
    connect(picker2_, &EntryChooser::picked, this, &UnitPage::slotPicked);
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
    picker2_->setLabels(labels);
    showSlotNote(false);  // a new unit: no slot chosen yet
}

void UnitPage::showSlotNote(bool withSlot) {
    // Whether 写入 writes a weapon slot too, as soon as that changes.
    label12_->setText(withSlot ? u("注意：现在已经选定武器修改，武器部分将写入文件")
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
    text37_->setText(digits);
}

void UnitPage::slotPicked(int row) {
    const int unit = browser_->shown();
    if (browser_->resolveEdits(this, slot_) && row >= 0 && unit >= 0)
        browser_->showIn(*slot_, unit * kSlotsPerUnit + row);
    // The slot list stands on the slot the form shows, whatever happened.
    const int shown = slot_->shownIndex();
    picker2_->restore(shown >= 0 ? shown % kSlotsPerUnit : -1);
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
