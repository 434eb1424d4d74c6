#include "units/unit_page.h"
#include "ui/text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/editor_context.h"
#include "ui/dialogs.h"
#include "ui/form_binder.h"
#include "ui/icon_toggle.h"
#include "ui/widgets.h"
#include "units/unit_icons.h"
#include "units/unit_patches.h"
#include "units/unit_table.h"
#include "units/unit_vocabularies.h"

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
      list1_(listBox("List1")),
      list2_(listBox("List2")),
      tabs_(new QTabWidget),
      text13_(readOnlyBox("Text13", 80)),
      text37_(readOnlyBox("Text37", 50)),
      label12_(new QLabel(u("注意："))) {
    setObjectName("UnitPage");
    label12_->setObjectName("Label12");
    label12_->setWordWrap(true);

    auto* frame1 = frame(u("选择机体"), "Frame1");
    auto* frame1Layout = new QVBoxLayout(frame1);
    frame1Layout->addWidget(list1_);
    list1_->setMinimumWidth(150);

    auto* label3 = new QLabel(u("首地址"));
    label3->setObjectName("Label3");
    label3->setBuddy(text13_);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(label3);
    offsetRow->addWidget(text13_, 1);
    auto* writeRow = new QHBoxLayout;
    writeRow->addWidget(button("Command3", u("写入")), 1);
    writeRow->addWidget(text37_);
    text37_->setMaximumWidth(60);
    text37_->setToolTip(u("改造段数的四位十六进制数字（EN、HP、装甲、运动性）"));

    auto* left = new QVBoxLayout;
    left->addWidget(frame1, 1);
    left->addLayout(offsetRow);
    left->addLayout(writeRow);

    tabs_->setObjectName("SSTab2");
    tabs_->addTab(buildBasicPage(), u("基本参数"));
    tabs_->addTab(buildWeaponPage(), u("机体武器"));
    tabs_->addTab(buildOtherPage(), u("其他"));
    tabs_->addTab(buildSkillPage(), u("机体技能"));

    auto* right = new QVBoxLayout;
    right->addWidget(tabs_, 1);
    right->addWidget(label12_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    header_ = std::make_unique<FormBinder>(this, unitTable());
    slot_ = std::make_unique<FormBinder>(this, weaponTable());
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
    patches->addWidget(button("Command4", u("TF改造丑小鸭")));
    patches->addWidget(button("Command7", u("全机体可装4芯片")));
    patches->addStretch();
    stepGrid->addLayout(patches, 1, 0, 1, 8);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(steps);
    layout->addStretch();
    return page;
}

QWidget* UnitPage::buildWeaponPage() {
    auto* page = new QWidget;
    list2_->setMaximumWidth(110);
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("武器名称"), textBox("Text20", 260), 3);
    addWideRow(grid, 1, u("文本显示"), readOnlyBox("Text21", 260), 3);
    addRow(grid, 2, {{u("攻击力"), textBox("Text18")}, {u("必要气力"), textBox("Text27")}});
    addRow(grid, 3, {{u("近射程"), textBox("Text19")}, {u("远射程"), textBox("Text22")}});
    addRow(grid, 4, {{u("命中"), textBox("Text23")}, {u("CT"), textBox("Text24")}});
    addRow(grid, 5, {{u("残弹"), textBox("Text25")}, {u("消费EN"), textBox("Text26")}});
    auto* attribute = new QHBoxLayout;
    attribute->addWidget(textBox("Text30", 50));
    attribute->addWidget(hintButton("Command9", u("？")));
    auto* attributeBox = new QWidget;
    attributeBox->setLayout(attribute);
    attribute->setContentsMargins(0, 0, 0, 0);
    addRow(grid, 6,
           {{u("改造类型"), choiceBox("Combo15", weaponUpgradeTypes())},
            {u("武器属性"), attributeBox}});
    addRow(grid, 7, {{u("武器种类"), choiceBox("Combo14", weaponKinds())}});
    addRow(grid, 8,
           {{u("必要技能"), choiceBox("Combo13", requiredSkills())},
            {u("等级"), textBox("Text32", 40)}});
    grid->setColumnStretch(4, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(grid);
    right->addWidget(terrainFrame("Combo3"));
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(list2_);
    layout->addLayout(right, 1);
    return page;
}

QWidget* UnitPage::buildOtherPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    addWideRow(grid, 0, u("机体名称"), textBox("Text33", 300), 2);
    addWideRow(grid, 1, u("文本显示"), readOnlyBox("Text34", 300), 2);
    addRow(grid, 2, {{u("移动类型"), choiceBox("Combo7", moveTypes())}});
    addRow(grid, 3, {{u("换乘类型"), choiceBox("Combo16", transferTypes())}});
    addRow(grid, 4, {{u("主机师"), choiceBox("Combo12", {}, 160)}});
    auto* attribute = new QHBoxLayout;
    attribute->setContentsMargins(0, 0, 0, 0);
    attribute->addWidget(textBox("Text35", 50));
    attribute->addWidget(hintButton("Command10", "?"));
    attribute->addStretch();
    auto* attributeBox = new QWidget;
    attributeBox->setLayout(attribute);
    addRow(grid, 5, {{u("机体属性"), attributeBox}});
    grid->setColumnStretch(2, 1);

    auto* special = frame(u("特别操作"), "FrameSpecial");
    auto* specialRow = new QHBoxLayout(special);
    specialRow->addWidget(button("Command5", u("复制该机体数据")));
    specialRow->addWidget(button("Command6", u("粘贴机体数据")));
    specialRow->addWidget(hintButton("Command8", "?"));
    specialRow->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(terrainFrame("Combo8"));
    layout->addWidget(special);
    layout->addStretch();
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
        toggles->addWidget(new IconToggle(k, icon.off, icon.on, icon.tip));
    }
    toggles->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(skills1, 1);
    layout->addWidget(skills2);
    return page;
}

void UnitPage::connectActions() {
    connect(&context_, &EditorContext::executableOpened, this, &UnitPage::executableOpened);
    connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            showdata();
    });
    connect(list2_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            showwp();
    });
    const auto on = [this](const char* name, void (UnitPage::*action)()) {
        connect(findChild<QPushButton*>(name), &QPushButton::clicked, this, action);
    };
    on("Command3", &UnitPage::write);
    on("Command4", &UnitPage::raiseUpgradeLimits);
    on("Command5", &UnitPage::copyUnit);
    on("Command6", &UnitPage::pasteUnit);
    on("Command7", &UnitPage::allowFourChips);
    connect(findChild<QPushButton*>("Command8"), &QPushButton::clicked, this, [this] {
        hint(
            "要把敌机改为可用,"
            "方法是把敌机数据粘贴到我方废弃机体上，然后再把废弃我方机体的属性改为08");
    });
    connect(findChild<QPushButton*>("Command9"), &QPushButton::clicked, this,
            [this] { hint("01-移动后可使用,02－BEAM武器,大于02两者共存（P+B）"); });
    connect(findChild<QPushButton*>("Command10"), &QPushButton::clicked, this,
            [this] { hint("00、02:敌方，08、09:我方"); });
}

void UnitPage::hint(const char* text) {
    context_.dialogs().information(this, u(text));
}

void UnitPage::executableOpened() {
    const QStringList units = toStringList(context_.lists().units);
    const QSignalBlocker blockList1(list1_);
    const QSignalBlocker blockList2(list2_);
    list1_->clear();
    list1_->addItems(units);
    list2_->clear();
    auto* combo1 = findChild<QComboBox*>("Combo1");
    combo1->clear();
    combo1->addItems(units);
    auto* combo12 = findChild<QComboBox*>("Combo12");
    combo12->clear();
    combo12->addItems(toStringList(context_.lists().pilots));
    // Nothing shown belongs to the new file.
    header_->clear();
    slot_->clear();
    for (const char* name : {"Text13", "Text21", "Text34", "Text37"})
        findChild<QLineEdit*>(name)->clear();
    shownUnit_ = -1;
    shownSlot_ = -1;
    shownHeader_.clear();
    shownSlotValues_.clear();
}

int UnitPage::selectedUnit() const {
    const int row = list1_->currentRow();
    return row >= 0 && row == shownUnit_ && list1_->currentItem()->isSelected() ? row : -1;
}

int UnitPage::selectedSlot() const {
    const int unit = selectedUnit();
    const int row = list2_->currentRow();
    if (unit < 0 || row < 0 || !list2_->currentItem()->isSelected())
        return -1;
    const int slot = unit * kSlotsPerUnit + row;
    return slot == shownSlot_ ? slot : -1;
}

bool UnitPage::needUnit(const char* action) {
    if (context_.editor(this) == nullptr)
        return false;
    if (selectedUnit() < 0) {
        context_.dialogs().information(
            this, u("请先在“选择机体”列表中选择要") + u(action) + u("的机体。"));
        return false;
    }
    return true;
}

void UnitPage::showDecoded(const EntryView& view) {
    for (const auto& [control, text] : view.decoded)
        findChild<QLineEdit*>(QString::fromStdString(control))
            ->setText(QString::fromStdString(text));
}

bool UnitPage::readHeader(EntryEditor& editor) {
    const int unit = list1_->currentRow();
    EntryView view;
    try {
        view = editor.show(unitTable(), unit);
    } catch (const std::exception& e) {
        context_.readFailed(this, e);
        return false;
    }
    shownUnit_ = unit;
    shownHeader_ = view.values;
    header_->fill(shownHeader_);
    showDecoded(view);
    // The four upgrade step digits as stored: EN, HP, armour, mobility.
    QString digits;
    for (const char* key : {"step-en", "step-hp", "step-armor", "step-mobility"}) {
        const auto& v = shownHeader_[static_cast<std::size_t>(unitTable().fieldIndex(key))];
        digits += QString::number(QString::fromStdString(v.text).toInt(), 16).toUpper();
    }
    text37_->setText(digits);
    return true;
}

bool UnitPage::readSlot(EntryEditor& editor, int slot) {
    EntryView view;
    try {
        view = editor.show(weaponTable(), slot);
    } catch (const std::exception& e) {
        context_.readFailed(this, e);
        return false;
    }
    shownSlot_ = slot;
    shownSlotValues_ = view.values;
    slot_->fill(shownSlotValues_);
    showDecoded(view);
    return true;
}

void UnitPage::showdata() {
    const int unit = list1_->currentRow();
    if (unit < 0)
        return;
    EntryEditor* editor = context_.editor(this);
    if (editor == nullptr || !readHeader(*editor))
        return;
    {
        const QSignalBlocker block(list2_);
        list2_->clear();
        for (int k = 1; k <= kSlotsPerUnit; ++k)
            list2_->addItem(u("武器") + QString::number(k));
        list2_->setCurrentRow(-1);
    }
    // The weapon controls keep the slot shown last until a slot of this unit is picked.
    shownSlot_ = -1;
    text13_->setText(QString::number(unitTable().entryOffset(unit), 16).toUpper());
}

void UnitPage::showwp() {
    const int row = list2_->currentRow();
    if (row < 0 || shownUnit_ < 0)
        return;
    if (EntryEditor* editor = context_.editor(this))
        readSlot(*editor, shownUnit_ * kSlotsPerUnit + row);
}

void UnitPage::write() {
    if (!needUnit("写入"))
        return;
    const int unit = selectedUnit();
    const int slot = selectedSlot();
    std::vector<EntryEdit> edits{{&unitTable(), unit, shownHeader_, header_->collect()}};
    if (slot >= 0)
        edits.push_back({&weaponTable(), slot, shownSlotValues_, slot_->collect()});
    const WriteResult result =
        context_.write(this, [&](EntryEditor& editor) { return editor.save(edits); });
    if (result.status == WriteResult::Status::Refused && !result.message.empty()) {
        context_.dialogs().information(
            this,
            u("没有写入：") + QString::fromStdString(result.message) + u("\n请改正后再写入。"));
        return;
    }
    if (!result.ok())
        return;
    label12_->setText(slot >= 0 ? u("注意：现在已经选定武器修改，武器部分将写入文件")
                                : u("注意：现在没有选定武器修改，武器部分不作写入"));
    refresh();
}

void UnitPage::refresh() {
    if (shownUnit_ < 0 || list1_->currentRow() != shownUnit_)
        return;
    EntryEditor* editor = context_.editor(this);
    if (editor == nullptr || !readHeader(*editor))
        return;
    if (shownSlot_ >= 0 && shownSlot_ / kSlotsPerUnit == shownUnit_)
        readSlot(*editor, shownSlot_);
}

void UnitPage::copyUnit() {
    if (!needUnit("复制"))
        return;
    if (!context_.dialogs().question(this, u("将要复制选定机体的数据,是否进行操作"))) {
        context_.dialogs().information(this, u("没有进行复制操作"));
        return;
    }
    try {
        copied_ = context_.editor(this)->copy(unitTable(), selectedUnit());
    } catch (const std::exception& e) {
        context_.readFailed(this, e);
        return;
    }
    const QString name = list1_->currentItem()->text();
    context_.dialogs().information(this, u("已经复制") + name + u("的数据"));
    copiedName_ = name;
}

void UnitPage::pasteUnit() {
    if (!needUnit("粘贴到"))
        return;
    if (copied_.empty()) {
        context_.dialogs().information(
            this, u("还没有复制任何机体的数据：请先选择一台机体，点击“复制该机体数据”。"));
        return;
    }
    if (!context_.dialogs().question(
            this, u("将要把复制的数据粘贴到选定机体的上,并且直接写入文件,是否进行操作"))) {
        context_.dialogs().information(this, u("没有进行粘贴操作"));
        return;
    }
    const int unit = selectedUnit();
    const WriteResult result = context_.write(this, [&](EntryEditor& editor) {
        return editor.paste(unitTable(), unit, copied_, copiedName_.toStdString());
    });
    if (!result.ok())
        return;
    context_.dialogs().information(this, u("已经把") + copiedName_ + u("的数据粘贴到") +
                                             list1_->currentItem()->text() + u("上"));
    refresh();
}

void UnitPage::applyPatch(const TablePatch& patch) {
    const WriteResult result = context_.write(this, [&](EntryEditor& editor) {
        return editor.setOnAll(*patch.table, patch.values, patch.caption);
    });
    if (!result.ok())
        return;
    label12_->setText(u("注意：") + (result.status == WriteResult::Status::Written
                                         ? u("已") + QString::fromStdString(patch.summary)
                                         : QString::fromStdString(patch.caption) +
                                               u("：全部机体已经是这样，没有写入")));
    refresh();
}

void UnitPage::raiseUpgradeLimits() {
    applyPatch(upgradeLimitsPatch());
}

void UnitPage::allowFourChips() {
    applyPatch(chipsPatch());
}

}  // namespace vorlan
